#pragma once

#include "draw/digitsource.h"
#include "draw/drawmachine.h"
#include "draw/logbox.h"
#include "draw/virtualclock.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <deque>
#include <memory>

namespace velmora::test {

// Digits a test chooses; once the script runs out it repeats `fallback`.
class ScriptedDigits final : public DigitSource {
public:
    explicit ScriptedDigits(std::initializer_list<int> digits = {}, int fallback = 0)
        : script_(digits), fallback_(fallback) {}
    void push(std::initializer_list<int> digits) { script_.insert(script_.end(), digits); }
    void setFallback(int digit) { fallback_ = digit; }
    int nextDigit() override {
        ++drawn_;
        if (script_.empty()) {
            return fallback_;
        }
        const int digit = script_.front();
        script_.pop_front();
        return digit;
    }
    int drawn() const { return drawn_; }

private:
    std::deque<int> script_;
    int fallback_;
    int drawn_ = 0;
};

// The draw engine on real widgets and a virtual clock, wired as the window wires it, with the
// timers set up as start-up leaves them.
struct DrawRig {
    VirtualClock clock;
    ScriptedDigits digits;
    QWidget window;
    QLineEdit* Text1 = new QLineEdit(&window);
    QLineEdit* Text2 = new QLineEdit(&window);
    QLineEdit* Text3 = new QLineEdit(&window);
    LogBox* Text4 = new LogBox(&window);
    QLabel* Label4 = new QLabel(QStringLiteral("0"), &window);
    QPushButton* Command1 = new QPushButton(&window);
    QPushButton* Command11 = new QPushButton(&window);
    WindowTimer Timer1{clock, QStringLiteral("Timer1")};
    WindowTimer Timer2{clock, QStringLiteral("Timer2")};
    WindowTimer Timer3{clock, QStringLiteral("Timer3")};
    WindowTimer Timer4{clock, QStringLiteral("Timer4")};
    WindowTimer Timer5{clock, QStringLiteral("Timer5")};
    WindowTimer Timer6{clock, QStringLiteral("Timer6")};
    WindowTimer Timer8{clock, QStringLiteral("Timer8")};
    WindowTimer Timer9{clock, QStringLiteral("Timer9")};
    WindowTimer Timer10{clock, QStringLiteral("Timer10")};
    Module1 slots;
    DrawControls controls{*Text1, *Text2, *Text3, *Text4, *Label4, *Command1, *Command11, Timer1,
                          Timer2, Timer3, Timer4, Timer5, Timer6,  Timer8,    Timer9,     Timer10};
    DrawLog log{*Text4, *Label4, slots};
    DrawMachine machine{controls, slots, log, digits};

    DrawRig() {
        for (WindowTimer* t : {&Timer1, &Timer2, &Timer3}) {
            t->setInterval(50);
            t->setEnabled(false);
        }
        for (WindowTimer* t : {&Timer4, &Timer5, &Timer6, &Timer8, &Timer9, &Timer10}) {
            t->setInterval(3000);
            t->setEnabled(false);
        }
    }

    QString display() const { return Text1->text() + Text2->text() + Text3->text(); }
};

}  // namespace velmora::test
