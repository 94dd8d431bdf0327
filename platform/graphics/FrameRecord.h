// One frame's drawing commands as the game gave them, with the state the frame began with: compared with the
// frame on show, and replayed when the frame has to be drawn after all.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/IGraphics.h"

namespace sdl {

class FrameRecord {
public:
    enum class Op : std::uint8_t { Viewport, Clear, State, Stage, Texture, Quad, EndScene };
    struct Command {
        Op op = Op::EndScene;
        std::uint32_t arg = 0;  // clear colour, texture, or index of the state or first vertex in its pool
        float depth = 0;
        Viewport viewport;
        TextureStage stage;
    };
    static constexpr size_t kMaxCommands = 65536;

    static bool SameViewport(const Viewport& a, const Viewport& b);
    // Room for a heavy frame, so that recording does not allocate once under way.
    void Reserve(size_t quads);
    // Empty, beginning with this state.
    void Begin(const Viewport& viewport, const RenderState& state, std::uint32_t texture);
    bool BeganWith(const Viewport& viewport, const RenderState& state, std::uint32_t texture) const;
    bool Full() const { return commands.size() >= kMaxCommands; }
    // A state comes with a State command, four vertices with a Quad.
    void Add(const Command& c, const RenderState* state, const QuadVertex* quad);
    // Command index is the same here as in other.
    bool SameAt(size_t index, const FrameRecord& other) const;

    std::vector<Command> commands;
    std::vector<RenderState> states;
    std::vector<QuadVertex> vertices;
    Viewport startViewport;
    RenderState startState;
    std::uint32_t startTexture = 0;
};

}  // namespace sdl
