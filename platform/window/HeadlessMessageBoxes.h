// Message boxes recorded and answered as the test says.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/window/IMessageBox.h"

namespace headless {

struct RecordedBox {
    bool owned;
    std::string text;
    std::string caption;
    unsigned style;
};

class MessageBoxes : public IMessageBox {
public:
    int Show(bool owned, const std::string& text, const std::string& caption, unsigned style) override;
    std::vector<RecordedBox> shown;
    std::deque<int> answers;  // taken in order; IDOK when empty
    bool echo = false;        // also print each box on stderr, where a death test can match it
};

}  // namespace headless
