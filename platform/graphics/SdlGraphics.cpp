#include "platform/graphics/SdlGraphics.h"

#include <cstdint>

#include "platform/graphics/ImageFile.h"
#include "platform/text/SdlTextFont.h"
#include "platform/window/SdlWindow.h"

namespace sdl {

using Op = FrameRecord::Op;
using Command = FrameRecord::Command;

Graphics::Graphics(Window* window)
    : window_(window),
      device_(window, cache_),
      textures_(cache_),
      programs_(cache_),
      batcher_(programs_, cache_),
      drawer_(device_, cache_, textures_, batcher_)
{
}

Graphics::~Graphics()
{
    ReleaseDevice();
}

bool Graphics::Reset(const PresentParams& params)
{
    if (!window_ || !window_->Handle()) return false;
    if (params.backBufferWidth < 0 || params.backBufferHeight < 0) return false;
    if (Live()) {
        DrawRecordNow();
        drawer_.DrawBatch();
    }
    recorder_.Stop();
    recorder_.Invalidate();
    if (!device_.HasContext()) {
        if (!device_.Open()) return false;
        if (!programs_.Create() || !batcher_.Create() || !textures_.Create()) {
            ReleaseDevice();
            return false;
        }
        recorder_.Reserve(QuadBatcher::kMaxBatchQuads);
        drawer_.TexturesChanged();
    }
    if (!device_.Reset(params)) return false;
    viewport_ = Viewport();
    device_.BackBufferSize(viewport_.width, viewport_.height);
    drawer_.ResetViewport(viewport_);
    return true;
}

void Graphics::ReleaseDevice()
{
    recorder_.Forget();
    // Once the window is gone the context cannot be made current; its objects go with it.
    const bool current = device_.MakeCurrent();
    programs_.Release(current);
    batcher_.Release(current);
    textures_.Release(current);
    device_.Close(current);
    cache_.Clear();
}

CoopLevel Graphics::TestCooperativeLevel()
{
    return Live() ? CoopLevel::Ok : CoopLevel::DeviceLost;
}

bool Graphics::Recorded(const Command& c, const RenderState* state, const QuadVertex* quad)
{
    if (!recorder_.Recording()) return false;
    if (recorder_.Record(c, state, quad)) return true;
    DrawRecordNow();  // the record is full
    return false;
}

void Graphics::DrawRecordNow()
{
    if (recorder_.Recording() && Live()) drawer_.Replay(recorder_.Frame());
    recorder_.Stop();
}

void Graphics::SetViewport(const Viewport& v)
{
    if (v == viewport_) return;
    viewport_ = v;
    Command c;
    c.op = Op::Viewport;
    c.viewport = v;
    if (!Recorded(c)) drawer_.SetViewport(v);
}

void Graphics::Clear(std::uint32_t argb, float depth)
{
    if (!Live()) return;
    Command c;
    c.op = Op::Clear;
    c.arg = argb;
    c.depth = depth;
    if (!Recorded(c)) drawer_.Clear(argb, depth);
}

void Graphics::EndScene()
{
    if (!Live()) return;
    Command c;
    c.op = Op::EndScene;
    if (!Recorded(c)) drawer_.DrawBatch();
}

bool Graphics::Present()
{
    swapped_ = false;
    if (!Live()) return false;
    // A repeat of the picture on show is neither drawn nor swapped.
    const FrameRecorder::Verdict verdict = recorder_.Decide();
    swapped_ = verdict != FrameRecorder::Verdict::Skip;
    if (swapped_) {
        if (verdict == FrameRecorder::Verdict::Replay) drawer_.Replay(recorder_.Frame());
        drawer_.DrawBatch();
        device_.Present();
        recorder_.Presented();
    }
    // The window may have grown or shrunk since (a window manager acts late): the next frame follows it.
    FollowWindow();
    recorder_.Begin(viewport_, state_, texture_);
    return true;
}

bool Graphics::LastSwap(SwapTimes& times) const
{
    if (!swapped_) return false;
    times = device_.LastSwap();
    return true;
}

void Graphics::FollowWindow()
{
    bool moved = false;
    device_.ChooseTarget(moved);
    if (moved) recorder_.Invalidate();
}

void Graphics::Finish()
{
    if (!Live()) return;
    if (recorder_.Holds()) DrawRecordNow();
    drawer_.DrawBatch();
    glFinish();
}

void Graphics::AllowDirect(bool allow)
{
    if (allow == device_.DirectAllowed()) return;
    device_.AllowDirect(allow);
    if (!Live()) return;
    // The frame may now end in another buffer than it began.
    DrawRecordNow();
    drawer_.DrawBatch();
    FollowWindow();
}

void Graphics::OnEvent(const SDL_Event& e)
{
    if (e.type != SDL_WINDOWEVENT || !window_ || !window_->Handle() ||
        e.window.windowID != SDL_GetWindowID(window_->Handle()))
        return;
    switch (e.window.event) {
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_ENTER:
    case SDL_WINDOWEVENT_LEAVE:
    case SDL_WINDOWEVENT_FOCUS_LOST:
        break;
    default:
        recorder_.Invalidate();
        break;
    }
}

void Graphics::SetRenderState(const RenderState& state)
{
    if (state == state_) return;
    state_ = state;
    Command c;
    c.op = Op::State;
    if (!Recorded(c, &state)) drawer_.SetRenderState(state);
}

void Graphics::SetTextureStage(const TextureStage& stage)
{
    if (stage == state_.stage0) return;
    state_.stage0 = stage;
    Command c;
    c.op = Op::Stage;
    c.stage = stage;
    if (!Recorded(c)) drawer_.SetTextureStage(stage);
}

void Graphics::SetTexture(std::uint32_t handle)
{
    if (handle == texture_) return;
    texture_ = handle;
    Command c;
    c.op = Op::Texture;
    c.arg = handle;
    if (!Recorded(c)) drawer_.SetTexture(handle);
}

void Graphics::DrawQuad(const QuadVertex vertices[4])
{
    if (!Live()) return;
    Command c;
    c.op = Op::Quad;
    if (!Recorded(c, nullptr, vertices)) drawer_.DrawQuad(vertices);
}

void Graphics::Flush()
{
    if (!Live()) return;
    // Someone else draws next (meshes), which no record holds.
    DrawRecordNow();
    drawer_.HandOver();
}

TextureInfo Graphics::CreateTextureFromFile(const std::string& gamePath)
{
    TextureInfo info;
    if (!Live()) return info;
    ImageRGBA image;
    if (!LoadImageRGBA(gamePath, image)) return info;
    info.handle = CreateTexture(image.width, image.height, image.pixels.data());
    if (!info.handle) return info;
    info.width = image.width;
    info.height = image.height;
    info.surfaceWidth = NextPowerOfTwo(static_cast<std::uint32_t>(image.width));
    info.surfaceHeight = NextPowerOfTwo(static_cast<std::uint32_t>(image.height));
    return info;
}

void Graphics::TexturesChanging()
{
    // Quads recorded so far must see the texels they were given with; a frame that sees both old and new ones
    // cannot stand for the next.
    if (recorder_.Holds()) DrawRecordNow();
}

void Graphics::TexturesChanged(std::uint32_t destroyed)
{
    drawer_.TexturesChanged(destroyed);
    // A frame that had recorded nothing yet begins here, with the new texels; it is drawn all the same.
    recorder_.Invalidate();
    if (recorder_.Recording()) recorder_.Begin(viewport_, state_, texture_);
}

std::uint32_t Graphics::CreateTexture(int width, int height, const std::uint8_t* rgba)
{
    if (!Live() || width <= 0 || height <= 0) return 0;
    TexturesChanging();
    const std::uint32_t t = textures_.Add(width, height, rgba);
    TexturesChanged();
    return t;
}

void Graphics::UpdateTexture(std::uint32_t handle, int x, int y, int width, int height, const std::uint8_t* rgba)
{
    if (!Live() || !handle || width <= 0 || height <= 0 || !rgba) return;
    TexturesChanging();
    // Quads already batched must see the old texels.
    drawer_.DrawBatch();
    textures_.Update(handle, x, y, width, height, rgba);
    TexturesChanged();
}

void Graphics::DestroyTexture(std::uint32_t handle)
{
    if (!Live() || !handle) return;
    TexturesChanging();
    drawer_.DrawBatch();
    textures_.Remove(handle);
    if (texture_ == handle) texture_ = 0;
    TexturesChanged(handle);
}

std::unique_ptr<ITextFont> Graphics::CreateTextFont(const std::string& faceName, int height, bool italic)
{
    return OpenTextFont(faceName, height, italic);
}

bool Graphics::ReadBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height)
{
    int w = 0, h = 0;
    if (!device_.BackBufferSize(w, h) || w <= 0 || h <= 0) return false;
    // What is read is drawn for real, and so is the frame after, whatever was read or written meanwhile.
    DrawRecordNow();
    drawer_.DrawBatch();
    device_.ReadPixels(argb);
    width = w;
    height = h;
    return true;
}

}  // namespace sdl
