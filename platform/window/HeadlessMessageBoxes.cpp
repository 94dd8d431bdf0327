#include "platform/window/HeadlessMessageBoxes.h"

#include <cstdio>

#include "platform/WinTypes.h"

namespace headless {

int MessageBoxes::Show(bool owned, const std::string& text, const std::string& caption, unsigned style)
{
    shown.push_back({owned, text, caption, style});
    if (echo) {
        std::fprintf(stderr, "box owned=%d style=%u caption=[%s] text=[%s]\n", owned, style, caption.c_str(),
                     text.c_str());
    }
    if (answers.empty()) return win::IDOK;
    int a = answers.front();
    answers.pop_front();
    return a;
}

}  // namespace headless
