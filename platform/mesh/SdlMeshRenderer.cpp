#include "platform/mesh/SdlMeshRenderer.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstddef>
#include <cstring>


namespace sdl {

namespace {

// Direct3D's fixed-function vertex pipeline with lighting on: emissive + ambient × global ambient, plus
// diffuse × N·L per directional light, clamped; specular off. Normals are not renormalised.
const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aUv;
layout(location = 3) in vec4 aColour;
uniform mat4 uWorld;
uniform mat4 uViewProjection;
uniform mat3 uNormalMatrix;
uniform bool uLighting;
uniform bool uVertexColour;
uniform vec4 uDiffuse;
uniform vec4 uAmbient;
uniform vec4 uEmissive;
uniform vec3 uGlobalAmbient;
uniform int uLightCount;
uniform vec3 uLightToward[8];
uniform vec3 uLightDiffuse[8];
uniform vec3 uLightAmbient[8];
out vec4 vColour;
out vec2 vUv;
void main()
{
    vec4 world = uWorld * vec4(aPosition, 1.0);
    vec4 clip = uViewProjection * world;
    gl_Position = vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);
    vUv = aUv;
    vec4 diffuse = uVertexColour ? aColour.zyxw : uDiffuse;
    if (!uLighting) {
        vColour = uVertexColour ? aColour.zyxw : vec4(1.0);
        return;
    }
    vec3 n = uNormalMatrix * aNormal;
    vec3 colour = uEmissive.rgb + uAmbient.rgb * uGlobalAmbient;
    for (int i = 0; i < uLightCount; ++i) {
        colour += uAmbient.rgb * uLightAmbient[i];
        colour += diffuse.rgb * uLightDiffuse[i] * max(dot(n, uLightToward[i]), 0.0);
    }
    vColour = clamp(vec4(colour, diffuse.a), 0.0, 1.0);
}
)";

const char* kFragmentShader = R"(#version 330 core
in vec4 vColour;
in vec2 vUv;
uniform sampler2D uTexture;
uniform bool uTextured;
uniform bool uAlphaTest;
uniform float uAlphaRef;
out vec4 fragColour;
void main()
{
    vec4 texel = uTextured ? texture(uTexture, vUv) : vec4(1.0);
    vec4 c = texel * vColour;
    if (uAlphaTest && c.a * 255.0 + 0.001 < uAlphaRef) discard;
    fragColour = c;
}
)";

unsigned Compile(GLenum type, const char* source)
{
    const GLuint s = glCreateShader(type);
    glShaderSource(s, 1, &source, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        glDeleteShader(s);
        return 0;
    }
    return s;
}

GLenum BlendFactor(std::uint32_t d3d)
{
    switch (d3d) {
    case rs::BLEND_ZERO: return GL_ZERO;
    case rs::BLEND_ONE: return GL_ONE;
    case 3: return GL_SRC_COLOR;
    case 4: return GL_ONE_MINUS_SRC_COLOR;
    case rs::BLEND_SRCALPHA: return GL_SRC_ALPHA;
    case rs::BLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case 7: return GL_DST_ALPHA;
    case 8: return GL_ONE_MINUS_DST_ALPHA;
    case 9: return GL_DST_COLOR;
    case 10: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
    }
}

void UniformMatrix(GLuint program, const char* name, const Matrix& m)
{
    // Row-vector matrices uploaded as they are read as their transpose, which is what column vectors want.
    glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, &m.m[0][0]);
}

}  // namespace

std::uint32_t MeshRenderer::CreateMesh(const MeshData& data)
{
    const std::uint32_t id = next_++;
    meshes_[id].data = data;
    return id;
}

void MeshRenderer::ReleaseGl(Mesh& mesh)
{
    if (!SDL_GL_GetCurrentContext()) return;
    if (mesh.vao) glDeleteVertexArrays(1, &mesh.vao);
    if (mesh.vbo) glDeleteBuffers(1, &mesh.vbo);
    if (mesh.ibo) glDeleteBuffers(1, &mesh.ibo);
    mesh.vao = mesh.vbo = mesh.ibo = 0;
}

void MeshRenderer::ReleaseMesh(std::uint32_t mesh)
{
    const auto it = meshes_.find(mesh);
    if (it == meshes_.end()) return;
    ReleaseGl(it->second);
    meshes_.erase(it);
}

bool MeshRenderer::EnsureProgram()
{
    if (program_) return true;
    if (programFailed_ || !SDL_GL_GetCurrentContext()) return false;
    const GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    if (!vs || !fs) {
        if (vs) glDeleteShader(vs);
        if (fs) glDeleteShader(fs);
        programFailed_ = true;
        return false;
    }
    const GLuint p = glCreateProgram();
    glAttachShader(p, vs);
    glAttachShader(p, fs);
    glLinkProgram(p);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (!ok) {
        glDeleteProgram(p);
        programFailed_ = true;
        return false;
    }
    program_ = p;
    return true;
}

void MeshRenderer::Fill(const MeshData& data, const std::vector<Vec3>* positions, const std::vector<Vec3>* normals)
{
    scratch_.resize(data.vertices.size());
    for (std::size_t i = 0; i < data.vertices.size(); ++i) {
        const MeshVertex& v = data.vertices[i];
        const Vec3& p = positions ? (*positions)[i] : v.position;
        const Vec3& n = normals ? (*normals)[i] : v.normal;
        GpuVertex& g = scratch_[i];
        g.position[0] = p.x;
        g.position[1] = p.y;
        g.position[2] = p.z;
        g.normal[0] = n.x;
        g.normal[1] = n.y;
        g.normal[2] = n.z;
        g.uv[0] = v.u;
        g.uv[1] = v.v;
        g.colour = v.colour;
    }
}

bool MeshRenderer::Upload(Mesh& mesh)
{
    if (mesh.vao) return true;
    glGenVertexArrays(1, &mesh.vao);
    glGenBuffers(1, &mesh.vbo);
    glGenBuffers(1, &mesh.ibo);
    glBindVertexArray(mesh.vao);
    Fill(mesh.data, nullptr, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(scratch_.size() * sizeof(GpuVertex)), scratch_.data(),
                 GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.data.indices.size() * 4),
                 mesh.data.indices.data(), GL_STATIC_DRAW);
    const GLsizei stride = sizeof(GpuVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, uv)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<void*>(offsetof(GpuVertex, colour)));
    return true;
}

void MeshRenderer::ApplyState(const MeshRenderState& state)
{
    const std::uint32_t* s = state.states;
    const bool blended = IndexedBlendingActive(state);
    // Blended vertices arrive in world space already.
    const Matrix world = blended ? Matrix::Identity() : state.palette[0];
    UniformMatrix(program_, "uWorld", world);
    UniformMatrix(program_, "uViewProjection", state.view * state.projection);
    const Matrix n = blended ? Matrix::Identity() : NormalMatrix(world);
    const float normal3[9] = {n.m[0][0], n.m[0][1], n.m[0][2], n.m[1][0], n.m[1][1],
                              n.m[1][2], n.m[2][0], n.m[2][1], n.m[2][2]};
    glUniformMatrix3fv(glGetUniformLocation(program_, "uNormalMatrix"), 1, GL_FALSE, normal3);

    glUniform1i(glGetUniformLocation(program_, "uLighting"), s[rs::LIGHTING] ? 1 : 0);
    const MeshMaterial& m = state.material;
    glUniform4f(glGetUniformLocation(program_, "uDiffuse"), m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a);
    glUniform4f(glGetUniformLocation(program_, "uAmbient"), m.ambient.r, m.ambient.g, m.ambient.b, m.ambient.a);
    glUniform4f(glGetUniformLocation(program_, "uEmissive"), m.emissive.r, m.emissive.g, m.emissive.b,
                m.emissive.a);
    const std::uint32_t amb = s[rs::AMBIENT];
    glUniform3f(glGetUniformLocation(program_, "uGlobalAmbient"), ((amb >> 16) & 0xFF) / 255.0f,
                ((amb >> 8) & 0xFF) / 255.0f, (amb & 0xFF) / 255.0f);
    int count = 0;
    float toward[24], diffuse[24], ambient[24];
    for (int i = 0; i < 8; ++i) {
        if (!state.lightEnabled[i]) continue;
        const MeshLight& l = state.lights[i];
        // Lights shine along their direction; N·L wants the way back to the light, normalised.
        Vec3 d = l.direction;
        const float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        if (len > 0) d = {d.x / len, d.y / len, d.z / len};
        const float v[9] = {-d.x, -d.y, -d.z, l.diffuse.r, l.diffuse.g, l.diffuse.b,
                            l.ambient.r, l.ambient.g, l.ambient.b};
        std::memcpy(&toward[3 * count], &v[0], 12);
        std::memcpy(&diffuse[3 * count], &v[3], 12);
        std::memcpy(&ambient[3 * count], &v[6], 12);
        ++count;
    }
    glUniform1i(glGetUniformLocation(program_, "uLightCount"), count);
    if (count) {
        glUniform3fv(glGetUniformLocation(program_, "uLightToward"), count, toward);
        glUniform3fv(glGetUniformLocation(program_, "uLightDiffuse"), count, diffuse);
        glUniform3fv(glGetUniformLocation(program_, "uLightAmbient"), count, ambient);
    }

    // Texture handles of the graphics device are GL texture names on this back end.
    const bool textured = state.texture != 0;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, state.texture);
    glUniform1i(glGetUniformLocation(program_, "uTexture"), 0);
    glUniform1i(glGetUniformLocation(program_, "uTextured"), textured ? 1 : 0);
    glUniform1i(glGetUniformLocation(program_, "uAlphaTest"),
                s[rs::ALPHATESTENABLE] && s[rs::ALPHAFUNC] == rs::CMP_GREATEREQUAL ? 1 : 0);
    glUniform1f(glGetUniformLocation(program_, "uAlphaRef"), static_cast<float>(s[rs::ALPHAREF] & 0xFF));

    if (s[rs::ALPHABLENDENABLE]) {
        glEnable(GL_BLEND);
        glBlendFunc(BlendFactor(s[rs::SRCBLEND]), BlendFactor(s[rs::DESTBLEND]));
    } else {
        glDisable(GL_BLEND);
    }
    if (s[rs::ZENABLE]) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(s[rs::ZFUNC] == rs::CMP_LESSEQUAL ? GL_LEQUAL : GL_LESS);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(s[rs::ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    // Direct3D names the winding it culls as seen on screen; so does GL's front face in window space.
    if (s[rs::CULLMODE] == rs::CULL_NONE) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(s[rs::CULLMODE] == rs::CULL_CCW ? GL_CW : GL_CCW);
    }
}

void MeshRenderer::DrawSubset(std::uint32_t meshId, std::uint32_t attribId)
{
    const auto it = meshes_.find(meshId);
    if (it == meshes_.end()) return;
    // Quads batched so far go first, in paint order; the quad path sets all its GL state again itself.
    if (graphics_) graphics_->Flush();
    if (!EnsureProgram()) return;
    Mesh& mesh = it->second;
    const MeshRenderState& state = Snapshot();

    glUseProgram(program_);
    Upload(mesh);
    glBindVertexArray(mesh.vao);
    if (IndexedBlendingActive(state)) {
        TransformMeshVertices(mesh.data, state, positions_, normals_);
        Fill(mesh.data, &positions_, &normals_);
        glBindBuffer(GL_ARRAY_BUFFER, mesh.vbo);
        glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(scratch_.size() * sizeof(GpuVertex)),
                        scratch_.data());
    }
    ApplyState(state);
    for (const MeshSubset& subset : mesh.data.subsets) {
        if (subset.attribId != attribId || subset.faceCount == 0) continue;
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(subset.faceCount * 3), GL_UNSIGNED_INT,
                       reinterpret_cast<void*>(static_cast<std::uintptr_t>(subset.faceStart) * 12));
    }
    glBindVertexArray(0);
}

}  // namespace sdl
