#include "gfx/AnimMeshContainer.h"

#include "gfx/CMeshBuffer.h"

AnimMeshContainer::~AnimMeshContainer()
{
    delete mesh;
    if (renderer)
        for (std::uint32_t t : textures)
            if (t) renderer->ReleaseTexture(t);
    delete skinInfo;
}
