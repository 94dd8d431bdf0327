#include "gfx/CMesh.h"

#include "gfx/CMeshBuffer.h"
#include "platform/Platform.h"
#include "platform/WinTypes.h"
#include "platform/mesh/IMeshLoader.h"
#include "util/StringUtil.h"

namespace {

const char* kLoadError = "Xファイルが読み込めません\nファイル名およびパスを確認してください。";

// Rotation axes of each order, 0 = x, 1 = y, 2 = z; -1 ends.
const int kOrders[16][3] = {
    {-1, -1, -1}, {0, -1, -1}, {1, -1, -1}, {2, -1, -1}, {0, 1, -1}, {0, 2, -1}, {1, 0, -1}, {1, 2, -1},
    {2, 0, -1},   {2, 1, -1},  {0, 1, 2},   {0, 2, 1},   {1, 0, 2},  {1, 2, 0},  {2, 0, 1},  {2, 1, 0},
};

ColourValue Tint(const ColourValue& c, const float scale[4], const float offset[4])
{
    return {c.r * scale[0] + offset[0], c.g * scale[1] + offset[1], c.b * scale[2] + offset[2],
            c.a * scale[3] + offset[3]};
}

// Collects every mesh of the tree into one, moved by its frames, as a flat X-file load does.
void Flatten(const LoadedScene& scene, const LoadedFrame& frame, const Matrix& parent, std::vector<MeshVertex>& vertices,
             std::vector<std::uint32_t>& indices, std::vector<std::uint32_t>& attributes, bool& hasColours)
{
    const Matrix m = frame.transform * parent;
    const Matrix n = NormalMatrix(m);
    for (std::uint32_t index : frame.meshes) {
        if (index >= scene.meshes.size()) continue;
        const LoadedMesh& src = scene.meshes[index];
        const std::uint32_t base = static_cast<std::uint32_t>(vertices.size());
        for (std::size_t v = 0; v < src.positions.size(); ++v) {
            MeshVertex out;
            out.position = TransformCoord(src.positions[v], m);
            // Without normals in the file the vertices have none; lighting then sees a zero normal.
            if (!src.normals.empty()) out.normal = TransformNormal(src.normals[v], n);
            if (!src.uvs.empty()) {
                out.u = src.uvs[2 * v];
                out.v = src.uvs[2 * v + 1];
            }
            if (!src.colours.empty()) {
                out.colour = src.colours[v];
                hasColours = true;
            }
            vertices.push_back(out);
        }
        for (std::uint32_t i : src.indices) indices.push_back(base + i);
        attributes.insert(attributes.end(), src.indices.size() / 3, src.materialIndex);
    }
    for (const LoadedFrame& child : frame.children)
        Flatten(scene, child, m, vertices, indices, attributes, hasColours);
}

}  // namespace

void ShowMeshLoadError(const std::string& text)
{
    Sys().messageBox->Show(false, text, "", win::MB_OK);
    ExitProcess(1);
}

CMesh::CMesh(IGraphics* device_, const std::string& path, bool showError)
    : device(device_), renderer_(Sys().meshes)
{
    const std::string directory = GetDirectory(path);
    LoadedScene scene;
    if (!Sys().meshLoader || !Sys().meshLoader->LoadXFile(path, scene)) {
        if (showError) ShowMeshLoadError(kLoadError);
        return;
    }

    numMaterials = static_cast<std::uint32_t>(scene.materials.size());
    materials.resize(numMaterials);
    textures.assign(numMaterials, 0);
    for (std::uint32_t i = 0; i < numMaterials; ++i) {
        const LoadedMaterial& src = scene.materials[i];
        MeshMaterial& m = materials[i];
        m.diffuse = src.diffuse;
        m.ambient = src.diffuse;  // the format has no ambient colour
        m.specular = src.specular;
        m.emissive = src.emissive;
        m.power = src.power;
        if (!src.textureFile.empty() && renderer_)
            textures[i] = renderer_->CreateTextureFromFile(directory + src.textureFile);
    }

    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices, attributes;
    bool hasColours = false;
    for (const LoadedFrame& frame : scene.frames)
        Flatten(scene, frame, Matrix::Identity(), vertices, indices, attributes, hasColours);
    mesh = new CMeshBuffer(renderer_, std::move(vertices), indices, attributes, hasColours);
}

CMesh::~CMesh()
{
    if (renderer_)
        for (std::uint32_t t : textures)
            if (t) renderer_->ReleaseTexture(t);
    delete mesh;
}

void CMesh::DrawMesh(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                     float rotY, float rotZ, int order, float alpha, bool additive)
{
    DrawMeshColour(posX, posY, posZ, scaleX, scaleY, scaleZ, rotX, rotY, rotZ, order, 1.0f, 1.0f, 1.0f, alpha,
                   additive);
}

void CMesh::DrawMeshColour(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ,
                           float rotX, float rotY, float rotZ, int order, float red, float green, float blue,
                           float alpha, bool additive)
{
    colourScale[0] = red;
    colourScale[1] = green;
    colourScale[2] = blue;
    colourScale[3] = alpha;
    for (float& c : colourOffset) c = 0.0f;
    SetBlend(additive);
    SetWorld(posX, posY, posZ, scaleX, scaleY, scaleZ, rotX, rotY, rotZ, order);
}

void CMesh::SetBlendStates(IMeshRenderer* renderer, bool additive)
{
    if (!renderer) return;
    renderer->SetRenderState(rs::ALPHABLENDENABLE, 1);
    renderer->SetRenderState(rs::SRCBLEND, rs::BLEND_SRCALPHA);
    renderer->SetRenderState(rs::DESTBLEND, additive ? rs::BLEND_ONE : rs::BLEND_INVSRCALPHA);
}

void CMesh::SetBlend(bool additive)
{
    SetBlendStates(renderer_, additive);
}

Matrix CMesh::WorldMatrix(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                          float rotY, float rotZ, int order)
{
    Matrix m = MatrixScaling(scaleX, scaleY, scaleZ);
    if (order >= 1 && order <= 15) {
        for (int axis : kOrders[order]) {
            if (axis == 0) m = m * MatrixRotationX(rotX);
            if (axis == 1) m = m * MatrixRotationY(rotY);
            if (axis == 2) m = m * MatrixRotationZ(rotZ);
        }
    }
    return m * MatrixTranslation(posX, posY, posZ);
}

void CMesh::SetWorld(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                     float rotY, float rotZ, int order)
{
    if (renderer_)
        renderer_->SetTransform(ts::WORLD,
                                WorldMatrix(posX, posY, posZ, scaleX, scaleY, scaleZ, rotX, rotY, rotZ, order));
    DrawSubsets();
}

void CMesh::DrawSubsets()
{
    if (!renderer_ || !mesh) return;
    for (std::uint32_t i = 0; i < numMaterials; ++i) {
        MeshMaterial m = materials[i];
        m.diffuse = Tint(m.diffuse, colourScale, colourOffset);
        m.ambient = Tint(m.ambient, colourScale, colourOffset);
        m.specular = Tint(m.specular, colourScale, colourOffset);
        m.emissive = Tint(m.emissive, colourScale, colourOffset);
        renderer_->SetMaterial(m);
        renderer_->SetTexture(0, textures[i]);
        mesh->DrawSubset(i);
    }
}
