#pragma once

#include <QString>

namespace velmora {

// A modal message with one OK button; show() returns once the user has dismissed it.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void show(const QString& text, const QString& title) = 0;
};

}  // namespace velmora
