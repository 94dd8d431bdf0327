#include "platform/mesh/AssimpMeshLoader.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "platform/files/IFileSystem.h"

namespace {

Matrix FromAssimp(const aiMatrix4x4& a)
{
    // Assimp keeps column vectors; Direct3D's row-vector matrix is the transpose.
    Matrix m;
    const float src[4][4] = {{a.a1, a.a2, a.a3, a.a4},
                             {a.b1, a.b2, a.b3, a.b4},
                             {a.c1, a.c2, a.c3, a.c4},
                             {a.d1, a.d2, a.d3, a.d4}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m.m[r][c] = src[c][r];
    return m;
}

std::uint32_t ToArgb(const aiColor4D& c)
{
    auto byte = [](float v) {
        v = v < 0 ? 0 : (v > 1 ? 1 : v);
        return static_cast<std::uint32_t>(v * 255.0f + 0.5f);
    };
    return (byte(c.a) << 24) | (byte(c.r) << 16) | (byte(c.g) << 8) | byte(c.b);
}

void ConvertMaterials(const aiScene* s, LoadedScene& scene)
{
    for (unsigned i = 0; i < s->mNumMaterials; ++i) {
        const aiMaterial* src = s->mMaterials[i];
        aiString name;
        // The importer invents one unnamed material for files that have none; the file had none.
        if (s->mNumMaterials == 1 && src->Get(AI_MATKEY_NAME, name) != AI_SUCCESS) break;
        LoadedMaterial m;
        aiColor4D diffuse(0, 0, 0, 1);
        src->Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
        aiColor3D specular(0, 0, 0), emissive(0, 0, 0);
        src->Get(AI_MATKEY_COLOR_SPECULAR, specular);
        src->Get(AI_MATKEY_COLOR_EMISSIVE, emissive);
        float power = 0;
        src->Get(AI_MATKEY_SHININESS, power);
        m.diffuse = {diffuse.r, diffuse.g, diffuse.b, diffuse.a};
        m.specular = {specular.r, specular.g, specular.b, 1.0f};
        m.emissive = {emissive.r, emissive.g, emissive.b, 1.0f};
        m.power = power;
        aiString texture;
        if (src->GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS) m.textureFile = texture.C_Str();
        scene.materials.push_back(m);
    }
}

void ConvertMeshes(const aiScene* s, LoadedScene& scene)
{
    for (unsigned i = 0; i < s->mNumMeshes; ++i) {
        const aiMesh* src = s->mMeshes[i];
        LoadedMesh m;
        m.name = src->mName.C_Str();
        m.materialIndex = src->mMaterialIndex;
        m.positions.resize(src->mNumVertices);
        for (unsigned v = 0; v < src->mNumVertices; ++v)
            m.positions[v] = {src->mVertices[v].x, src->mVertices[v].y, src->mVertices[v].z};
        if (src->HasNormals()) {
            m.normals.resize(src->mNumVertices);
            for (unsigned v = 0; v < src->mNumVertices; ++v)
                m.normals[v] = {src->mNormals[v].x, src->mNormals[v].y, src->mNormals[v].z};
        }
        if (src->HasTextureCoords(0)) {
            m.uvs.resize(2 * src->mNumVertices);
            for (unsigned v = 0; v < src->mNumVertices; ++v) {
                m.uvs[2 * v] = src->mTextureCoords[0][v].x;
                m.uvs[2 * v + 1] = src->mTextureCoords[0][v].y;
            }
        }
        if (src->HasVertexColors(0)) {
            m.colours.resize(src->mNumVertices);
            for (unsigned v = 0; v < src->mNumVertices; ++v) m.colours[v] = ToArgb(src->mColors[0][v]);
        }
        for (unsigned f = 0; f < src->mNumFaces; ++f) {
            const aiFace& face = src->mFaces[f];
            if (face.mNumIndices != 3) continue;  // points and lines left by triangulation
            m.indices.insert(m.indices.end(), face.mIndices, face.mIndices + 3);
        }
        for (unsigned b = 0; b < src->mNumBones; ++b) {
            const aiBone* bone = src->mBones[b];
            LoadedBone lb;
            lb.name = bone->mName.C_Str();
            lb.offset = FromAssimp(bone->mOffsetMatrix);
            for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                lb.vertices.push_back(bone->mWeights[w].mVertexId);
                lb.weights.push_back(bone->mWeights[w].mWeight);
            }
            m.bones.push_back(std::move(lb));
        }
        scene.meshes.push_back(std::move(m));
    }
}

LoadedFrame ConvertFrame(const aiNode* node)
{
    LoadedFrame f;
    f.name = node->mName.C_Str();
    f.transform = FromAssimp(node->mTransformation);
    f.meshes.assign(node->mMeshes, node->mMeshes + node->mNumMeshes);
    for (unsigned c = 0; c < node->mNumChildren; ++c) f.children.push_back(ConvertFrame(node->mChildren[c]));
    return f;
}

void ConvertAnimations(const aiScene* s, const std::vector<bool>& matrixKeyed, LoadedScene& scene)
{
    std::size_t block = 0;
    for (unsigned a = 0; a < s->mNumAnimations; ++a) {
        const aiAnimation* src = s->mAnimations[a];
        LoadedAnimation anim;
        anim.name = src->mName.C_Str();
        if (src->mTicksPerSecond > 0) anim.ticksPerSecond = src->mTicksPerSecond;
        for (unsigned c = 0; c < src->mNumChannels; ++c, ++block) {
            const aiNodeAnim* ch = src->mChannels[c];
            LoadedChannel lc;
            lc.frame = ch->mNodeName.C_Str();
            for (unsigned k = 0; k < ch->mNumScalingKeys; ++k) {
                const aiVectorKey& key = ch->mScalingKeys[k];
                lc.scales.push_back({key.mTime, {key.mValue.x, key.mValue.y, key.mValue.z}});
            }
            for (unsigned k = 0; k < ch->mNumPositionKeys; ++k) {
                const aiVectorKey& key = ch->mPositionKeys[k];
                lc.positions.push_back({key.mTime, {key.mValue.x, key.mValue.y, key.mValue.z}});
            }
            // Assimp conjugates quaternion keys read from the file, not those it takes from matrix keys;
            // D3DX uses the file's quaternion as it stands.
            const bool fromMatrix = block < matrixKeyed.size() && matrixKeyed[block];
            for (unsigned k = 0; k < ch->mNumRotationKeys; ++k) {
                const aiQuatKey& key = ch->mRotationKeys[k];
                Quat q{key.mValue.x, key.mValue.y, key.mValue.z, key.mValue.w};
                if (!fromMatrix) q = {-q.x, -q.y, -q.z, q.w};
                lc.rotations.push_back({key.mTime, q});
            }
            anim.channels.push_back(std::move(lc));
        }
        scene.animations.push_back(std::move(anim));
    }
}

// Tokens of the text X format: words, quoted strings and braces; separators and comments dropped.
class XTokens {
public:
    explicit XTokens(const std::string& text) : t_(text) {}
    bool Next(std::string& tok)
    {
        while (pos_ < t_.size()) {
            const char c = t_[pos_];
            if (c == '/' && pos_ + 1 < t_.size() && t_[pos_ + 1] == '/') {
                SkipLine();
            } else if (c == '#') {
                SkipLine();
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';') {
                ++pos_;
            } else {
                break;
            }
        }
        if (pos_ >= t_.size()) return false;
        const char c = t_[pos_];
        if (c == '{' || c == '}') {
            tok.assign(1, c);
            ++pos_;
            return true;
        }
        if (c == '"') {
            const std::size_t end = t_.find('"', pos_ + 1);
            const std::size_t stop = end == std::string::npos ? t_.size() : end + 1;
            tok = t_.substr(pos_, stop - pos_);
            pos_ = stop;
            return true;
        }
        const std::size_t start = pos_;
        while (pos_ < t_.size() && std::string(" \t\r\n,;{}\"").find(t_[pos_]) == std::string::npos) ++pos_;
        tok = t_.substr(start, pos_ - start);
        return true;
    }

private:
    void SkipLine()
    {
        while (pos_ < t_.size() && t_[pos_] != '\n') ++pos_;
    }
    const std::string& t_;
    std::size_t pos_ = 16;  // after the header
};

bool ResolveComponent(const std::string& dir, const std::string& name, std::string& found)
{
    const std::string base = dir.empty() ? std::string(".") : dir;
    struct stat st;
    if (stat((dir + name).c_str(), &st) == 0) {
        found = name;
        return true;
    }
    DIR* d = opendir(base.c_str());
    if (!d) return false;
    bool ok = false;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            ok = true;
            break;
        }
    }
    closedir(d);
    return ok;
}

}  // namespace

std::vector<bool> ScanMatrixKeyedAnimations(const std::string& text)
{
    std::vector<bool> blocks;
    if (text.size() < 16 || text.compare(0, 4, "xof ") != 0 || text.compare(8, 4, "txt ") != 0) return blocks;
    XTokens tokens(text);
    std::string tok;
    int depth = 0;
    int setDepth = -1;  // depth inside the open AnimationSet, -1 outside
    bool wantKeyType = false;
    while (tokens.Next(tok)) {
        if (tok == "{") {
            ++depth;
        } else if (tok == "}") {
            --depth;
            if (setDepth >= 0 && depth < setDepth) setDepth = -1;
        } else if (tok == "template") {
            int d = 0;
            while (tokens.Next(tok)) {
                if (tok == "{") ++d;
                if (tok == "}" && --d == 0) break;
            }
        } else if (tok == "AnimationSet") {
            setDepth = depth + 1;
        } else if (tok == "Animation" && setDepth >= 0 && depth == setDepth) {
            blocks.push_back(false);
        } else if (tok == "AnimationKey") {
            // The key type is the first number after the opening brace.
            while (tokens.Next(tok) && tok != "{") {
            }
            ++depth;
            wantKeyType = true;
        } else if (wantKeyType) {
            wantKeyType = false;
            if ((tok == "3" || tok == "4") && !blocks.empty()) blocks.back() = true;
        }
    }
    return blocks;
}

std::string ResolveGamePath(const std::string& gamePath)
{
    const std::string native = NativePath(gamePath);
    struct stat st;
    if (stat(native.c_str(), &st) == 0) return native;
    // Walk the components, matching each without regard to case as Windows would.
    std::string resolved;
    std::size_t pos = 0;
    if (!native.empty() && native[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos <= native.size()) {
        std::size_t slash = native.find('/', pos);
        if (slash == std::string::npos) slash = native.size();
        const std::string part = native.substr(pos, slash - pos);
        if (!part.empty()) {
            std::string found;
            if (part == "." || part == ".." || !ResolveComponent(resolved, part, found)) found = part;
            resolved += found;
            if (slash < native.size()) resolved += '/';
        }
        pos = slash + 1;
    }
    return resolved;
}

bool AssimpMeshLoader::LoadXFile(const std::string& gamePath, LoadedScene& scene)
{
    scene = LoadedScene();
    const std::string path = ResolveGamePath(gamePath);
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.size() < 16 || text.compare(0, 4, "xof ") != 0) return false;

    Assimp::Importer importer;
    importer.SetPropertyInteger(AI_CONFIG_PP_LBW_MAX_WEIGHTS, 4);
    const aiScene* s = importer.ReadFileFromMemory(
        text.data(), text.size(),
        aiProcess_ConvertToLeftHanded | aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
            aiProcess_LimitBoneWeights,
        "x");
    if (!s || !s->mRootNode || (s->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) return false;

    ConvertMaterials(s, scene);
    ConvertMeshes(s, scene);
    const aiNode* root = s->mRootNode;
    if (std::string(root->mName.C_Str()) == "$dummy_root" && root->mNumMeshes == 0) {
        for (unsigned c = 0; c < root->mNumChildren; ++c) scene.frames.push_back(ConvertFrame(root->mChildren[c]));
    } else {
        scene.frames.push_back(ConvertFrame(root));
    }
    ConvertAnimations(s, ScanMatrixKeyedAnimations(text), scene);
    return true;
}
