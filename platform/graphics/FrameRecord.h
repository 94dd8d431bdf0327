// One frame's drawing commands as the game gave them, with the state the frame began with: compared with the
// frame on show, and replayed when the frame has to be drawn.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/IGraphics.h"

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

    // Room for a heavy frame, so that recording does not allocate once under way.
    void Reserve(size_t quads);
    // Empty, beginning with this state.
    void Begin(const Viewport& viewport, const RenderState& state, std::uint32_t texture);
    bool Full() const { return commands.size() >= kMaxCommands; }
    // A state comes with a State command, four vertices with a Quad.
    void Add(const Command& c, const RenderState* state, const QuadVertex* quad);
    const RenderState& StateOf(const Command& c) const { return states[c.arg]; }
    const QuadVertex* QuadOf(const Command& c) const { return &vertices[c.arg]; }
    // The same start and the same commands, every vertex to the bit: the same picture.
    bool operator==(const FrameRecord& other) const;

    std::vector<Command> commands;
    std::vector<RenderState> states;
    std::vector<QuadVertex> vertices;
    Viewport startViewport;
    RenderState startState;
    std::uint32_t startTexture = 0;

private:
    bool SameAt(size_t index, const FrameRecord& other) const;
};
