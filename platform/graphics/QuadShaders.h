// The shaders and GL translations of the quad renderer: Direct3D's fixed function as far as quads need it.
#pragma once
#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>

#include "platform/graphics/IGraphics.h"

namespace sdl {

extern const char* const kQuadVertexShader;
// Specialised by the defines COLOR_OP, COLOR_ARG1, COLOR_ARG2, ALPHA_OP, ALPHA_ARG1, ALPHA_ARG2, ALPHA_FUNC and
// CONSTANT_TEXELS.
extern const char* const kQuadFragmentShader;

// A compiled shader, 0 (with the log on stderr) when it does not compile.
GLuint Compile(GLenum type, const char* body, const char* defines = "");
GLenum BlendOf(BlendFactor f);
GLenum DepthFuncOf(CompareFunc f);
// The shader's numbers for a texture stage's operation and argument.
int OpOf(TextureOp op);
int ArgOf(TextureArg a);
// The four bytes of an RGBA texel as they lie in memory.
std::uint32_t TexelOf(const std::uint8_t* rgba);
bool AllOpaque(const std::uint8_t* rgba, size_t pixels);

}  // namespace sdl
