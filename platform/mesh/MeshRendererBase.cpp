#include "platform/mesh/MeshRendererBase.h"

#include "platform/mesh/IMeshLoader.h"

namespace {

Matrix FromMatrix4(const Matrix4& a)
{
    Matrix m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m.m[r][c] = a.m[r][c];
    return m;
}

Matrix4 ToMatrix4(const Matrix& a)
{
    Matrix4 m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m.m[r][c] = a.m[r][c];
    return m;
}

// The graphics device's enums count from Direct3D's numbers minus one.
template <typename E>
E FromD3d(std::uint32_t v)
{
    return static_cast<E>(v > 0 ? v - 1 : 0);
}

template <typename E>
std::uint32_t ToD3d(E e)
{
    return static_cast<std::uint32_t>(e) + 1;
}

}  // namespace

std::uint32_t MeshRendererBase::CreateTextureFromFile(const std::string& gamePath)
{
    if (!graphics_) return 0;
    return graphics_->CreateTextureFromFile(ResolveGamePath(gamePath)).handle;
}

void MeshRendererBase::ReleaseTexture(std::uint32_t texture)
{
    if (graphics_ && texture) graphics_->DestroyTexture(texture);
}

void MeshRendererBase::SetRenderState(int state, std::uint32_t value)
{
    if (state < 0 || state >= rs::COUNT) return;
    local_.states[state] = value;
    if (!graphics_) return;
    RenderState s = graphics_->GetRenderState();
    switch (state) {
    case rs::ZENABLE: s.zEnable = value != 0; break;
    case rs::ZWRITEENABLE: s.zWriteEnable = value != 0; break;
    case rs::ALPHATESTENABLE: s.alphaTestEnable = value != 0; break;
    case rs::SRCBLEND: s.srcBlend = FromD3d<BlendFactor>(value); break;
    case rs::DESTBLEND: s.destBlend = FromD3d<BlendFactor>(value); break;
    case rs::CULLMODE: s.cullMode = FromD3d<CullMode>(value); break;
    case rs::ZFUNC: s.zFunc = FromD3d<CompareFunc>(value); break;
    case rs::ALPHAREF: s.alphaRef = value; break;
    case rs::ALPHAFUNC: s.alphaFunc = FromD3d<CompareFunc>(value); break;
    case rs::ALPHABLENDENABLE: s.alphaBlendEnable = value != 0; break;
    case rs::SPECULARENABLE: s.specularEnable = value != 0; break;
    case rs::LIGHTING: s.lighting = value != 0; break;
    case rs::AMBIENT: s.ambient = value; break;
    default: return;
    }
    graphics_->SetRenderState(s);
}

std::uint32_t MeshRendererBase::GetRenderState(int state) const
{
    if (state < 0 || state >= rs::COUNT) return 0;
    if (!graphics_) return local_.states[state];
    const RenderState& s = graphics_->GetRenderState();
    switch (state) {
    case rs::ZENABLE: return s.zEnable;
    case rs::ZWRITEENABLE: return s.zWriteEnable;
    case rs::ALPHATESTENABLE: return s.alphaTestEnable;
    case rs::SRCBLEND: return ToD3d(s.srcBlend);
    case rs::DESTBLEND: return ToD3d(s.destBlend);
    case rs::CULLMODE: return ToD3d(s.cullMode);
    case rs::ZFUNC: return ToD3d(s.zFunc);
    case rs::ALPHAREF: return s.alphaRef;
    case rs::ALPHAFUNC: return ToD3d(s.alphaFunc);
    case rs::ALPHABLENDENABLE: return s.alphaBlendEnable;
    case rs::SPECULARENABLE: return s.specularEnable;
    case rs::LIGHTING: return s.lighting;
    case rs::AMBIENT: return s.ambient;
    default: return local_.states[state];
    }
}

void MeshRendererBase::SetTransform(int slot, const Matrix& m)
{
    local_.SetTransform(slot, m);
    if (!graphics_ || (slot != ts::WORLD && slot != ts::VIEW && slot != ts::PROJECTION)) return;
    RenderState s = graphics_->GetRenderState();
    (slot == ts::WORLD ? s.world : slot == ts::VIEW ? s.view : s.projection) = ToMatrix4(m);
    graphics_->SetRenderState(s);
}

void MeshRendererBase::SetTexture(int stage, std::uint32_t texture)
{
    if (stage != 0) return;
    local_.texture = texture;
    if (graphics_) graphics_->SetTexture(texture);
}

void MeshRendererBase::SetLight(int index, const MeshLight& light)
{
    if (index < 0 || index >= 8) return;
    local_.lights[index] = light;
    if (!graphics_) return;
    RenderState s = graphics_->GetRenderState();
    Light& l = s.lights[index];
    const ColourValue* from[3] = {&light.diffuse, &light.specular, &light.ambient};
    float* to[3] = {l.diffuse, l.specular, l.ambient};
    for (int k = 0; k < 3; ++k) {
        to[k][0] = from[k]->r;
        to[k][1] = from[k]->g;
        to[k][2] = from[k]->b;
        to[k][3] = from[k]->a;
    }
    l.direction[0] = light.direction.x;
    l.direction[1] = light.direction.y;
    l.direction[2] = light.direction.z;
    l.range = light.range;
    graphics_->SetRenderState(s);
}

void MeshRendererBase::LightEnable(int index, bool enable)
{
    if (index < 0 || index >= 8) return;
    local_.lightEnabled[index] = enable;
    if (!graphics_) return;
    RenderState s = graphics_->GetRenderState();
    s.lights[index].enabled = enable;
    graphics_->SetRenderState(s);
}

const MeshRenderState& MeshRendererBase::Snapshot()
{
    snapshot_ = local_;
    if (!graphics_) return snapshot_;
    const RenderState& s = graphics_->GetRenderState();
    for (int st : {rs::ZENABLE, rs::ZWRITEENABLE, rs::ALPHATESTENABLE, rs::SRCBLEND, rs::DESTBLEND, rs::CULLMODE,
                   rs::ZFUNC, rs::ALPHAREF, rs::ALPHAFUNC, rs::ALPHABLENDENABLE, rs::SPECULARENABLE, rs::LIGHTING,
                   rs::AMBIENT})
        snapshot_.states[st] = GetRenderState(st);
    snapshot_.palette[0] = FromMatrix4(s.world);
    snapshot_.view = FromMatrix4(s.view);
    snapshot_.projection = FromMatrix4(s.projection);
    for (int i = 0; i < 8 && i < kMaxLights; ++i) {
        const Light& l = s.lights[i];
        MeshLight& m = snapshot_.lights[i];
        m.diffuse = {l.diffuse[0], l.diffuse[1], l.diffuse[2], l.diffuse[3]};
        m.specular = {l.specular[0], l.specular[1], l.specular[2], l.specular[3]};
        m.ambient = {l.ambient[0], l.ambient[1], l.ambient[2], l.ambient[3]};
        m.direction = {l.direction[0], l.direction[1], l.direction[2]};
        m.range = l.range;
        snapshot_.lightEnabled[i] = l.enabled;
    }
    snapshot_.texture = graphics_->GetTexture();
    return snapshot_;
}
