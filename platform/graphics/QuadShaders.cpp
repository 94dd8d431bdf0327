#include "platform/graphics/QuadShaders.h"

#include <cstdio>

namespace sdl {

// Pixels are mapped through the viewport, as pre-transformed vertices are; w of the position marks a quad of a
// one-texel texture, whose texel comes as an attribute. Colours arrive as the bytes of a little-endian ARGB
// word (b, g, r, a).
const char* const kQuadVertexShader = R"(
layout(location = 0) in vec4 position;
layout(location = 1) in vec4 diffuse;
layout(location = 2) in vec2 uv;
layout(location = 3) in vec4 texel;
uniform vec4 viewport;  // x, y, width, height in back-buffer pixels from the top-left
out vec4 vDiffuse;
out vec2 vUv;
flat out vec4 vTexel;
flat out float vConstant;
void main()
{
    vec2 p = (position.xy - viewport.xy) / viewport.zw;
    gl_Position = vec4(p.x * 2.0 - 1.0, 1.0 - p.y * 2.0, position.z * 2.0 - 1.0, 1.0);
    vDiffuse = diffuse.bgra;
    vUv = uv;
    vTexel = texel;
    vConstant = position.w;
}
)";

// Texture stage 0 and the alpha test of the fixed-function pipeline, specialised per combination by the
// defines COLOR_OP, COLOR_ARG1, COLOR_ARG2, ALPHA_OP, ALPHA_ARG1, ALPHA_ARG2 and ALPHA_FUNC, so the common case
// costs a multiply and a compare per pixel (the software rasteriser pays for every branch).
const char* const kQuadFragmentShader = R"(
in vec4 vDiffuse;
in vec2 vUv;
flat in vec4 vTexel;
flat in float vConstant;
uniform sampler2D tex;
uniform float alphaRef;  // 0 … 255
out vec4 fragColour;
#define ARG(a) ((a) == 2 ? t : vDiffuse)
void main()
{
    // A one-texel texture reads the same texel wherever it is sampled: it comes with the quad, and the quad
    // can share a batch with any other texture. Only batches holding such quads pay for the choice.
#if CONSTANT_TEXELS
    vec4 t = vConstant != 0.0 ? vTexel : texture(tex, vUv);
#else
    vec4 t = texture(tex, vUv);
#endif
#if COLOR_OP == 1
    vec3 rgb = ARG(COLOR_ARG1).rgb;
#elif COLOR_OP == 2
    vec3 rgb = ARG(COLOR_ARG2).rgb;
#elif COLOR_OP == 3
    vec3 rgb = ARG(COLOR_ARG1).rgb * ARG(COLOR_ARG2).rgb;
#else
    vec3 rgb = vDiffuse.rgb;
#endif
#if ALPHA_OP == 1
    float a = ARG(ALPHA_ARG1).a;
#elif ALPHA_OP == 2
    float a = ARG(ALPHA_ARG2).a;
#elif ALPHA_OP == 3
    float a = ARG(ALPHA_ARG1).a * ARG(ALPHA_ARG2).a;
#else
    float a = vDiffuse.a;
#endif
    float ai = floor(a * 255.0 + 0.5);
#if ALPHA_FUNC == 0
    discard;
#elif ALPHA_FUNC == 1
    if (!(ai < alphaRef)) discard;
#elif ALPHA_FUNC == 2
    if (ai != alphaRef) discard;
#elif ALPHA_FUNC == 3
    if (!(ai <= alphaRef)) discard;
#elif ALPHA_FUNC == 4
    if (!(ai > alphaRef)) discard;
#elif ALPHA_FUNC == 5
    if (ai == alphaRef) discard;
#elif ALPHA_FUNC == 6
    if (!(ai >= alphaRef)) discard;
#endif
    fragColour = vec4(rgb, a);
}
)";

std::uint32_t TexelOf(const std::uint8_t* rgba)
{
    return std::uint32_t(rgba[0]) | std::uint32_t(rgba[1]) << 8 | std::uint32_t(rgba[2]) << 16 |
           std::uint32_t(rgba[3]) << 24;
}

bool AllOpaque(const std::uint8_t* rgba, size_t pixels)
{
    for (size_t i = 0; i < pixels; ++i)
        if (rgba[i * 4 + 3] != 0xFF) return false;
    return true;
}

GLuint Compile(GLenum type, const char* body, const char* defines)
{
    const char* header = epoxy_is_desktop_gl() ? "#version 330 core\n" : "#version 300 es\nprecision highp float;\nprecision highp int;\n";
    const char* sources[3] = {header, defines, body};
    GLuint s = glCreateShader(type);
    glShaderSource(s, 3, sources, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024];
        glGetShaderInfoLog(s, sizeof log, nullptr, log);
        std::fprintf(stderr, "shader: %s\n", log);
        glDeleteShader(s);
        return 0;
    }
    return s;
}

GLenum BlendOf(BlendFactor f)
{
    switch (f) {
    case BlendFactor::Zero: return GL_ZERO;
    case BlendFactor::One: return GL_ONE;
    case BlendFactor::SrcColor: return GL_SRC_COLOR;
    case BlendFactor::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::SrcAlpha: return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestAlpha: return GL_DST_ALPHA;
    case BlendFactor::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case BlendFactor::DestColor: return GL_DST_COLOR;
    case BlendFactor::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

GLenum DepthFuncOf(CompareFunc f)
{
    switch (f) {
    case CompareFunc::Never: return GL_NEVER;
    case CompareFunc::Less: return GL_LESS;
    case CompareFunc::Equal: return GL_EQUAL;
    case CompareFunc::LessEqual: return GL_LEQUAL;
    case CompareFunc::Greater: return GL_GREATER;
    case CompareFunc::NotEqual: return GL_NOTEQUAL;
    case CompareFunc::GreaterEqual: return GL_GEQUAL;
    case CompareFunc::Always: return GL_ALWAYS;
    }
    return GL_ALWAYS;
}

int OpOf(TextureOp op)
{
    switch (op) {
    case TextureOp::Disable: return 0;
    case TextureOp::SelectArg1: return 1;
    case TextureOp::SelectArg2: return 2;
    case TextureOp::Modulate: return 3;
    }
    return 0;
}

int ArgOf(TextureArg a)
{
    // At stage 0 the current colour is the diffuse colour.
    return a == TextureArg::Texture ? 2 : 0;
}

}  // namespace sdl
