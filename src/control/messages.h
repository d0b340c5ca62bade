#pragma once

#include <QString>

class QWidget;

namespace velmora {

// A modal message with one OK button; show() returns once the user has dismissed it.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void show(const QString& text, const QString& title) = 0;
};

class QMessageBoxMessages final : public Messages {
public:
    explicit QMessageBoxMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    void show(const QString& text, const QString& title) override;

private:
    QWidget* parent_;
};

}  // namespace velmora
