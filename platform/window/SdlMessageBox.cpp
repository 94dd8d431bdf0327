#include "platform/window/SdlMessageBox.h"

#include <algorithm>
#include <cstring>

#include "platform/WinTypes.h"
#include "platform/text/FontFace.h"
#include "platform/window/SdlWindow.h"

namespace sdl {

namespace {

// The face the game's own text asks for.
const char* const kFace = "MS ゴシック";
constexpr int kFontSize = 15;
constexpr int kTextMargin = 24;
constexpr int kBandHeight = 46;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 10;
constexpr int kBandMargin = 12;
constexpr int kMinWidth = 220;

SDL_Surface* RenderLine(TTF_Font* font, const std::string& line)
{
    if (line.empty()) return nullptr;
    const SDL_Color black = {0, 0, 0, 255};
    return TTF_RenderUTF8_Blended(font, line.c_str(), black);
}

void Fill(SDL_Surface* s, const SDL_Rect& r, Uint8 red, Uint8 green, Uint8 blue)
{
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, red, green, blue));
}

// Nobody could see a window on these drivers, and nobody could answer it.
bool DriverCanShowWindows()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0 &&
           std::strcmp(driver, "evdev") != 0;
}

}  // namespace

MessageBox::MessageBox(Window* game, bool owned, const std::string& text, const std::string& caption, unsigned style,
                       int padDecide)
    : game_(game), owned_(owned), text_(text), caption_(caption), style_(style), pad_(padDecide)
{
}

MessageBox::~MessageBox()
{
    for (SDL_Surface* s : lines_) SDL_FreeSurface(s);
    for (Button& b : buttons_) SDL_FreeSurface(b.label);
    SDL_FreeSurface(hint_);
    box_.Destroy();
    if (font_) TTF_CloseFont(font_);
}

bool MessageBox::Build()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) || !DriverCanShowWindows()) return false;
    font_ = OpenFontFace(kFace, kFontSize);
    if (!font_) return false;
    lineHeight_ = TTF_FontLineSkip(font_) + 2;

    // Lines break at "\n" only, as the texts were written for.
    size_t start = 0;
    while (true) {
        const size_t end = text_.find('\n', start);
        std::string line = text_.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int w = 0;
        if (!line.empty()) TTF_SizeUTF8(font_, line.c_str(), &w, nullptr);
        textWidth_ = std::max(textWidth_, w);
        lines_.push_back(RenderLine(font_, line));
        if (end == std::string::npos) break;
        start = end + 1;
    }

    const SDL_Color black = {0, 0, 0, 255};
    buttons_.push_back({{}, win::IDOK, TTF_RenderUTF8_Blended(font_, "OK", black)});
    if (style_ == win::MB_OKCANCEL) {
        buttons_.push_back({{}, win::IDCANCEL, TTF_RenderUTF8_Blended(font_, "キャンセル", black)});
    }
    UpdateHint();

    SDL_Window* owner = game_ && game_->Exists() ? game_->Handle() : nullptr;
    int px = SDL_WINDOWPOS_CENTERED, py = SDL_WINDOWPOS_CENTERED;
    if (owner) {
        if (owned_) {
            int ox = 0, oy = 0, ow = 0, oh = 0;
            SDL_GetWindowPosition(owner, &ox, &oy);
            SDL_GetWindowSize(owner, &ow, &oh);
            px = ox + (ow - width_) / 2;
            py = oy + (oh - height_) / 2;
        } else {
            px = py = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(std::max(0, SDL_GetWindowDisplayIndex(owner))));
        }
    }
    if (!box_.Create(caption_, px, py, width_, height_, owned_, owned_ ? owner : nullptr)) return false;
    windowId_ = SDL_GetWindowID(box_.Handle());
    return true;
}

bool MessageBox::Layout()
{
    int buttonsWidth = -kButtonGap;
    for (Button& b : buttons_) {
        const int labelWidth = b.label ? b.label->w : 0;
        b.rect.w = std::max(kButtonWidth, labelWidth + 24);
        b.rect.h = kButtonHeight;
        buttonsWidth += b.rect.w + kButtonGap;
    }
    const int hintWidth = hint_ ? hint_->w + 2 * kButtonGap : 0;
    const int width = std::max({kMinWidth, textWidth_ + 2 * kTextMargin, hintWidth + buttonsWidth + 2 * kBandMargin});
    const int height = static_cast<int>(lines_.size()) * lineHeight_ + 2 * kTextMargin + kBandHeight;
    int x = width - kBandMargin - buttonsWidth;  // right-aligned, OK first
    for (Button& b : buttons_) {
        b.rect.x = x;
        b.rect.y = height - kBandHeight + (kBandHeight - kButtonHeight) / 2;
        x += b.rect.w + kButtonGap;
    }
    const bool changed = width != width_ || height != height_;
    width_ = width;
    height_ = height;
    return changed;
}

void MessageBox::UpdateHint()
{
    std::string decide, close;
    SDL_FreeSurface(hint_);
    hint_ = nullptr;
    if (pad_.Names(decide, close)) {
        const std::string hint =
            decide + ": 決定  " + close + ": " + (style_ == win::MB_OKCANCEL ? "キャンセル" : "閉じる");
        const SDL_Color grey = {80, 80, 80, 255};
        hint_ = TTF_RenderUTF8_Blended(font_, hint.c_str(), grey);
    }
    if (Layout()) box_.Resize(width_, height_);
}

void MessageBox::Draw()
{
    SDL_Surface* s = box_.Canvas();
    if (!s) return;
    Fill(s, {0, 0, s->w, s->h}, 255, 255, 255);
    Fill(s, {0, s->h - kBandHeight, s->w, kBandHeight}, 240, 240, 240);
    int y = kTextMargin;
    for (SDL_Surface* line : lines_) {
        if (line) {
            SDL_Rect at = {kTextMargin, y, line->w, line->h};
            SDL_BlitSurface(line, nullptr, s, &at);
        }
        y += lineHeight_;
    }
    if (hint_) {
        SDL_Rect at = {kBandMargin, s->h - kBandHeight + (kBandHeight - hint_->h) / 2, hint_->w, hint_->h};
        SDL_BlitSurface(hint_, nullptr, s, &at);
    }
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
        const Button& b = buttons_[static_cast<size_t>(i)];
        const bool down = (i == pressed_ && i == hover_) || (i == focus_ && pad_.Pressing());
        const bool lit = i == hover_ || down;
        const int edge = i == focus_ ? 2 : 1;
        if (i == focus_ || lit) Fill(s, b.rect, 0, 120, 215);
        else Fill(s, b.rect, 173, 173, 173);
        const SDL_Rect inner = {b.rect.x + edge, b.rect.y + edge, b.rect.w - 2 * edge, b.rect.h - 2 * edge};
        if (down) Fill(s, inner, 204, 228, 247);
        else if (lit) Fill(s, inner, 229, 241, 251);
        else Fill(s, inner, 225, 225, 225);
        if (b.label) {
            SDL_Rect at = {b.rect.x + (b.rect.w - b.label->w) / 2, b.rect.y + (b.rect.h - b.label->h) / 2, b.label->w,
                           b.label->h};
            SDL_BlitSurface(b.label, nullptr, s, &at);
        }
    }
    box_.Present();
}

bool MessageBox::IsOwn(const SDL_Event& e) const
{
    switch (e.type) {
    case SDL_WINDOWEVENT: return e.window.windowID == windowId_;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return e.key.windowID == windowId_;
    case SDL_TEXTINPUT: return e.text.windowID == windowId_;
    case SDL_TEXTEDITING: return e.edit.windowID == windowId_;
    case SDL_MOUSEMOTION: return e.motion.windowID == windowId_;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return e.button.windowID == windowId_;
    case SDL_MOUSEWHEEL: return e.wheel.windowID == windowId_;
    default: return false;
    }
}

int MessageBox::ButtonAt(int x, int y) const
{
    const SDL_Point p = {x, y};
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (SDL_PointInRect(&p, &buttons_[i].rect)) return static_cast<int>(i);
    }
    return -1;
}

int MessageBox::CloseAnswer() const
{
    // Escape and the close button: Cancel where there is one, else OK.
    return style_ == win::MB_OKCANCEL ? win::IDCANCEL : win::IDOK;
}

void MessageBox::Handle(const SDL_Event& e)
{
    const int count = static_cast<int>(buttons_.size());
    switch (e.type) {
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) Answer(CloseAnswer());
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            Draw();
        }
        break;
    case SDL_KEYDOWN:
        switch (e.key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            Answer(buttons_[static_cast<size_t>(focus_)].answer);
            break;
        case SDLK_ESCAPE:
            Answer(CloseAnswer());
            break;
        case SDLK_F4:
            if (e.key.keysym.mod & KMOD_ALT) Answer(CloseAnswer());
            break;
        case SDLK_TAB:
        case SDLK_RIGHT:
        case SDLK_DOWN:
            focus_ = (focus_ + 1) % count;
            Draw();
            break;
        case SDLK_LEFT:
        case SDLK_UP:
            focus_ = (focus_ + count - 1) % count;
            Draw();
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEMOTION: {
        const int at = ButtonAt(e.motion.x, e.motion.y);
        if (at != hover_) {
            hover_ = at;
            Draw();
        }
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) {
            pressed_ = hover_ = ButtonAt(e.button.x, e.button.y);
            if (pressed_ >= 0) focus_ = pressed_;
            Draw();
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) {
            const int at = ButtonAt(e.button.x, e.button.y);
            if (at >= 0 && at == pressed_) Answer(buttons_[static_cast<size_t>(at)].answer);
            pressed_ = -1;
            Draw();
        }
        break;
    default:
        break;
    }
}

void MessageBox::HandlePad(const SDL_Event& e)
{
    const int count = static_cast<int>(buttons_.size());
    const bool pressing = pad_.Pressing();
    switch (pad_.Take(e)) {
    case BoxPad::Act::Decide: Answer(buttons_[static_cast<size_t>(focus_)].answer); break;
    case BoxPad::Act::Close: Answer(CloseAnswer()); break;
    case BoxPad::Act::Next: focus_ = (focus_ + 1) % count; break;
    case BoxPad::Act::Previous: focus_ = (focus_ + count - 1) % count; break;
    case BoxPad::Act::None:
        if (pressing == pad_.Pressing()) return;
        break;
    }
    Draw();
}

void MessageBox::Answer(int answer)
{
    if (answer_ == 0) answer_ = answer;
}

int MessageBox::Run()
{
    pad_.Start();
    // Where SDL backs the box's surface with a renderer of its own (Wayland), its context becomes current.
    SDL_Window* glWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext glContext = SDL_GL_GetCurrentContext();
    const bool built = Build();
    if (!built) {
        box_.Destroy();
        if (glWindow && glContext) SDL_GL_MakeCurrent(glWindow, glContext);
        return 0;
    }
    SDL_Window* owner = game_ && game_->Exists() ? game_->Handle() : nullptr;
    // The game's window had the focus: it gets it back when the box is answered, as on Windows.
    const bool giveBack = owner && (SDL_GetWindowFlags(owner) & SDL_WINDOW_INPUT_FOCUS) != 0;

    box_.Show();
    Draw();
    // Answered while a pad's decide button is still down, the box stays until it is up: the game reads
    // its menus' decide by level and would take the held button for a new one.
    while (answer_ == 0 || (!quitting_ && pad_.DecideHeld())) {
        // Polled, not waited for: SDL would wake a wait by sending an X event to the newest window, the
        // box, and one sent from another thread as the box goes would end the process with BadWindow.
        SDL_Event e;
        if (!SDL_PollEvent(&e)) {
            SDL_Delay(10);
            continue;
        }
        if (IsOwn(e)) {
            Handle(e);
            // A key released over the box was pressed for the game, or is nobody's: the game sees it go up.
            if (e.type == SDL_KEYUP && game_) game_->Absorb(e);
        } else if (e.type == SDL_QUIT) {
            // Asked to end (close of the session, SIGTERM): answer as Escape would, and let the game close.
            if (game_) game_->Absorb(e);
            Answer(CloseAnswer());
            quitting_ = true;
        } else {
            // Pads are the game's too (it opens them as they come); the game reads their state, not events.
            HandlePad(e);
            if (game_) game_->Absorb(e);
            if (e.type == SDL_JOYDEVICEADDED || e.type == SDL_JOYDEVICEREMOVED) {
                UpdateHint();
                Draw();
            }
        }
    }

    box_.Destroy();
    if (giveBack && game_->Exists()) {
        SDL_RaiseWindow(owner);
        SDL_SetWindowInputFocus(owner);
    }
    if (glWindow && glContext) SDL_GL_MakeCurrent(glWindow, glContext);
    return answer_;
}

}  // namespace sdl
