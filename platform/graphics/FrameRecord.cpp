#include "platform/graphics/FrameRecord.h"

#include <cstring>

namespace sdl {

// Recorded vertices are compared byte for byte.
static_assert(sizeof(QuadVertex) == 7 * 4, "QuadVertex has padding");

bool FrameRecord::SameViewport(const Viewport& a, const Viewport& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height && a.minZ == b.minZ &&
           a.maxZ == b.maxZ;
}

void FrameRecord::Reserve(size_t quads)
{
    commands.reserve(quads * 2);
    vertices.reserve(quads * 4);
    states.reserve(256);
}

void FrameRecord::Begin(const Viewport& viewport, const RenderState& state, std::uint32_t texture)
{
    commands.clear();
    states.clear();
    vertices.clear();
    startViewport = viewport;
    startState = state;
    startTexture = texture;
}

bool FrameRecord::BeganWith(const Viewport& viewport, const RenderState& state, std::uint32_t texture) const
{
    return texture == startTexture && SameViewport(viewport, startViewport) && state == startState;
}

void FrameRecord::Add(const Command& c, const RenderState* state, const QuadVertex* quad)
{
    commands.push_back(c);
    Command& added = commands.back();
    if (state) {
        added.arg = static_cast<std::uint32_t>(states.size());
        states.push_back(*state);
    }
    if (quad) {
        added.arg = static_cast<std::uint32_t>(vertices.size());
        vertices.insert(vertices.end(), quad, quad + 4);
    }
}

bool FrameRecord::SameAt(size_t index, const FrameRecord& other) const
{
    if (index >= commands.size() || index >= other.commands.size()) return false;
    const Command& a = commands[index];
    const Command& b = other.commands[index];
    if (a.op != b.op) return false;
    switch (a.op) {
    case Op::Viewport:
        return SameViewport(a.viewport, b.viewport);
    case Op::Clear:
        return a.arg == b.arg && a.depth == b.depth;
    case Op::State:
        return states[a.arg] == other.states[b.arg];
    case Op::Stage:
        return a.stage == b.stage;
    case Op::Texture:
        return a.arg == b.arg;
    case Op::Quad:
        return std::memcmp(&vertices[a.arg], &other.vertices[b.arg], 4 * sizeof(QuadVertex)) == 0;
    case Op::EndScene:
        return true;
    }
    return false;
}

}  // namespace sdl
