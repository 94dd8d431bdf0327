// Mesh-side device state shared by both back ends; render states, transforms, lights and textures that
// quads also see live in the graphics device and are forwarded there.
#pragma once
#include "platform/graphics/IGraphics.h"
#include "platform/mesh/IMeshRenderer.h"

class MeshRendererBase : public IMeshRenderer {
public:
    explicit MeshRendererBase(IGraphics* graphics) : graphics_(graphics) {}

    std::uint32_t CreateTextureFromFile(const std::string& gamePath) override;
    void ReleaseTexture(std::uint32_t texture) override;
    void SetRenderState(int state, std::uint32_t value) override;
    std::uint32_t GetRenderState(int state) const override;
    void SetTransform(int slot, const Matrix& m) override;
    void SetMaterial(const MeshMaterial& material) override { local_.material = material; }
    void SetTexture(int stage, std::uint32_t texture) override;
    void SetLight(int index, const MeshLight& light) override;
    void LightEnable(int index, bool enable) override;
    void SetSoftwareVertexProcessing(bool enable) override { local_.softwareVertexProcessing = enable; }

    // Everything in force now, the graphics device's part included.
    const MeshRenderState& Snapshot();

protected:
    IGraphics* graphics_;

private:
    MeshRenderState local_;
    MeshRenderState snapshot_;
};
