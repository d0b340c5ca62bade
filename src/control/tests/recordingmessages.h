#pragma once

#include "control/messages.h"

#include <functional>
#include <vector>

namespace velmora::test {

// Records every box; `whileOpen` runs while a box is "open", e.g. to let time pass before the
// user dismisses it.
class RecordingMessages final : public Messages {
public:
    struct Shown {
        QString text;
        QString title;
    };
    std::vector<Shown> shown;
    std::function<void(const Shown&)> whileOpen;

    void show(const QString& text, const QString& title) override {
        shown.push_back({text, title});
        if (whileOpen) {
            whileOpen(shown.back());
        }
    }
};

}  // namespace velmora::test
