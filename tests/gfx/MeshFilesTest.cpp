// The pieces under mesh loading: Windows-style file matching, key kinds of X files, palette groups.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "gfx/CSkinInfo.h"
#include "platform/mesh/AssimpMeshLoader.h"

namespace {

namespace fs = std::filesystem;

TEST(MeshFilesTest, GamePathsMatchFilesWhateverTheirCaseAndSeparators)
{
    const fs::path root = fs::temp_directory_path() / "zenthar_mesh_paths";
    fs::remove_all(root);
    fs::create_directories(root / "Model" / "Tex");
    std::ofstream(root / "Model" / "Tex" / "Skin.png") << "x";
    const std::string base = root.string();
    EXPECT_EQ(ResolveGamePath(base + "\\model\\TEX\\skin.PNG"), base + "/Model/Tex/Skin.png");
    EXPECT_EQ(ResolveGamePath(base + "/Model\\tex/skin.png"), base + "/Model/Tex/Skin.png");
    // Nothing to match: the path as the system would take it, so opening it fails as it should.
    EXPECT_EQ(ResolveGamePath(base + "\\model\\none.png"), base + "/Model/none.png");
    fs::remove_all(root);
}

TEST(MeshFilesTest, MatrixKeyedAnimationsAreToldFromQuaternionKeyedOnes)
{
    const std::string text = "xof 0303txt 0032\n"
                             "template AnimationKey { <10DD46A8-775B-11CF-8F52-0040333594A3> DWORD keyType; }\n"
                             "// Animation { AnimationKey { 4; } } in a comment\n"
                             "Animation Stray { AnimationKey { 4; 1; 0;16;1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;; } }\n"
                             "AnimationSet A {\n"
                             "  Animation { { B1 } AnimationKey { 0; 1; 0;4;1,0,0,0;;; } AnimationKey { 2; 1; 0;3;0,0,0;;; } }\n"
                             "  Animation { { B2 } AnimationKey rot { 4; 1; 0;16;1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;; } }\n"
                             "}\n"
                             "AnimationSet Empty { }\n"
                             "AnimationSet C { Animation { { B1 } AnimationKey { 3; 1; 0;16;1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;; } } }\n";
    EXPECT_EQ(ScanMatrixKeyedAnimations(text), (std::vector<bool>{false, true, true}));
    EXPECT_TRUE(ScanMatrixKeyedAnimations("xof 0303bin 0032\x01\x02").empty());
}

// Bone b moves a vertex by (b + 1) × 10 along x; four faces: one on each bone, the last on bones 0 and 1.
TEST(MeshFilesTest, FacesSplitIntoGroupsThatFitThePaletteAndKeepTheirBones)
{
    MeshData source;
    for (int i = 0; i < 12; ++i) {
        MeshVertex v;
        v.position = {static_cast<float>(i), 0, 0};
        source.vertices.push_back(v);
        source.indices.push_back(static_cast<std::uint32_t>(i));
    }
    std::vector<CSkinInfo::Bone> bones(3);
    for (int b = 0; b < 3; ++b) {
        bones[b].name = "B" + std::to_string(b);
        for (std::uint32_t v = 3 * b; v < 3 * b + 3u; ++v) {
            bones[b].vertices.push_back(v);
            bones[b].weights.push_back(1.0f);
        }
    }
    for (std::uint32_t v = 9; v < 12; ++v) {
        bones[0].vertices.push_back(v);
        bones[0].weights.push_back(0.75f);
        bones[1].vertices.push_back(v);
        bones[1].weights.push_back(0.25f);
    }
    CSkinInfo skin(bones);
    EXPECT_EQ(skin.GetMaxFaceInfluences(source.indices, 12), 2u);

    std::uint32_t maxInfluences = 0, groups = 0;
    std::vector<BoneCombination> combos;
    MeshData blended;
    skin.ConvertToIndexedBlendedMesh(source, {0, 0, 0, 0}, 2, maxInfluences, groups, combos, blended);
    EXPECT_EQ(maxInfluences, 2u);
    ASSERT_EQ(groups, 3u);  // {B0, B1}, {B2}, {B0, B1}
    ASSERT_EQ(blended.subsets.size(), 3u);

    // Drawn group by group with each group's palette, every vertex lands where its own bones put it.
    std::set<float> landed;
    for (std::uint32_t g = 0; g < groups; ++g) {
        const BoneCombination& c = combos[g];
        ASSERT_LE(c.BoneId.size(), 2u);
        MeshRenderState state;
        state.states[rs::INDEXEDVERTEXBLENDENABLE] = 1;
        state.states[rs::VERTEXBLEND] = maxInfluences - 1;
        for (std::size_t slot = 0; slot < c.BoneId.size(); ++slot)
            if (c.BoneId[slot] != kUnusedBone)
                state.palette[slot] = MatrixTranslation(10.0f * (c.BoneId[slot] + 1), 0, 0);
        std::vector<Vec3> positions, normals;
        TransformMeshVertices(blended, state, positions, normals);
        for (std::uint32_t i = 3 * c.FaceStart; i < 3 * (c.FaceStart + c.FaceCount); ++i) {
            const std::uint32_t v = blended.indices[i];
            const float x = blended.vertices[v].position.x;
            const float want = x < 9 ? x + 10.0f * (static_cast<int>(x) / 3 + 1) : x + 0.75f * 10 + 0.25f * 20;
            EXPECT_FLOAT_EQ(positions[v].x, want) << "vertex " << x;
            landed.insert(x);
        }
    }
    EXPECT_EQ(landed.size(), 12u);
}

}  // namespace
