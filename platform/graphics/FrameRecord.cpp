#include "platform/graphics/FrameRecord.h"

#include <cstring>

// Recorded vertices are compared byte for byte.
static_assert(sizeof(QuadVertex) == 7 * 4, "QuadVertex has padding");

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

bool FrameRecord::operator==(const FrameRecord& other) const
{
    if (commands.size() != other.commands.size() || startTexture != other.startTexture ||
        startViewport != other.startViewport || startState != other.startState)
        return false;
    for (size_t i = 0; i < commands.size(); ++i) {
        if (!SameAt(i, other)) return false;
    }
    return true;
}

bool FrameRecord::SameAt(size_t index, const FrameRecord& other) const
{
    const Command& a = commands[index];
    const Command& b = other.commands[index];
    if (a.op != b.op) return false;
    switch (a.op) {
    case Op::Viewport:
        return a.viewport == b.viewport;
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
