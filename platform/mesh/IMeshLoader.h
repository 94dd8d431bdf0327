// X-file scenes as plain data: materials, meshes, frame tree, bones and key-framed animations.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mesh/IMeshRenderer.h"

struct LoadedMaterial {
    ColourValue diffuse, specular, emissive;
    float power = 0;
    std::string textureFile;  // as written in the file; empty when none
};

struct LoadedBone {
    std::string name;
    Matrix offset;
    std::vector<std::uint32_t> vertices;
    std::vector<float> weights;
};

// One mesh of one material, triangulated; positions and winding as written in the file.
struct LoadedMesh {
    std::string name;
    std::uint32_t materialIndex = 0;
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;  // empty when the file gives none
    std::vector<float> uvs;     // u, v pairs; empty when none
    std::vector<std::uint32_t> colours;  // ARGB; empty when none
    std::vector<std::uint32_t> indices;  // three per face
    std::vector<LoadedBone> bones;
};

struct LoadedFrame {
    std::string name;
    Matrix transform;
    std::vector<std::uint32_t> meshes;
    std::vector<LoadedFrame> children;
};

struct VectorKey {
    double time = 0;
    Vec3 value;
};

struct RotationKey {
    double time = 0;
    Quat value;  // as D3DX reads it from the file
};

struct LoadedChannel {
    std::string frame;
    std::vector<VectorKey> scales;
    std::vector<RotationKey> rotations;
    std::vector<VectorKey> positions;
};

struct LoadedAnimation {
    std::string name;
    double ticksPerSecond = 4800;
    std::vector<LoadedChannel> channels;
};

struct LoadedScene {
    std::vector<LoadedMaterial> materials;
    std::vector<LoadedMesh> meshes;
    std::vector<LoadedFrame> frames;  // the top-level frames, siblings in file order
    std::vector<LoadedAnimation> animations;
};

class IMeshLoader {
public:
    virtual ~IMeshLoader() = default;
    // False when the file is missing or not a readable X file.
    virtual bool LoadXFile(const std::string& gamePath, LoadedScene& scene) = 0;
};

// The file a game path names as Windows would open it: either separator, any letter case.
// The native path as given when nothing matches.
std::string ResolveGamePath(const std::string& gamePath);
