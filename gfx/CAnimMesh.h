// A skinned, animated model from an X file: frame hierarchy, animation controller, blended drawing.
#pragma once
#include <string>

#include "platform/mesh/MeshMath.h"

class CAllocateHierarchy;
class CAnimationController;
class CEffectFile;
class IGraphics;
class IMeshRenderer;
struct AnimFrame;
struct AnimMeshContainer;

class CAnimMesh {
public:
    CAnimMesh(IGraphics* device, const std::string& path);
    ~CAnimMesh();
    CAnimMesh(const CAnimMesh&) = delete;
    CAnimMesh& operator=(const CAnimMesh&) = delete;

    void Load(const std::string& path);

    double GetTime();
    void AdvanceTime(double seconds);
    void SetAnimationSet(int track, int setIndex);
    void SetTrackEnable(int track, bool enable);
    void ResetTime();
    void SetTrackWeight(int track, float weight);
    void SetTrackSpeed(int track, float speed);
    void SetTrackPosition(int track, double position);
    int GetMaxNumTracks();

    void Render(const Matrix* parent);
    void DrawAnim();
    void DrawAnimAt(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                    float rotY, float rotZ, int order);
    void DrawAnimColour(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                        float rotY, float rotZ, int order, float red, float green, float blue, float alpha,
                        bool additive);

    IGraphics* device;
    AnimFrame* frameRoot = nullptr;
    CAnimationController* animController = nullptr;
    float colourScale[4] = {1, 1, 1, 1};
    float colourOffset[4] = {0, 0, 0, 0};

    // Shared by every animated mesh of the process; created on first need, never released.
    static IGraphics* sharedDevice;
    static CAllocateHierarchy* sharedAllocator;
    static CEffectFile* sharedEffect;
    static std::string sharedTextureDirectory;

private:
    void UpdateFrames(AnimFrame* frame, const Matrix* parent);
    void DrawFrame(AnimFrame* frame);
    void DrawContainer(AnimFrame* frame, AnimMeshContainer* container);
};
