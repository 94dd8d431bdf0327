#include "gfx/AnimFrame.h"

#include "gfx/AnimMeshContainer.h"

AnimFrame::~AnimFrame()
{
    // Every container of the list goes, not only the first, or the others would leak.
    AnimMeshContainer* c = pMeshContainer ? pMeshContainer : meshContainer;
    while (c) {
        AnimMeshContainer* next = c->pNextMeshContainer;
        delete c;
        c = next;
    }
    delete (pFrameSibling ? pFrameSibling : sibling);
    delete (pFrameFirstChild ? pFrameFirstChild : child);
}

AnimFrame* FrameFind(AnimFrame* root, const std::string& name)
{
    for (AnimFrame* f = root; f; f = f->pFrameSibling) {
        if (f->Name == name) return f;
        if (AnimFrame* found = FrameFind(f->pFrameFirstChild, name)) return found;
    }
    return nullptr;
}
