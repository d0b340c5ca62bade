#pragma once

#include "draw/windowtimer.h"

#include <QString>

#include <functional>
#include <optional>

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace velmora {

class DigitSource;
class LogBox;

// A draw slot holds nothing until its digit is drawn; a drawn 0 is a digit like any other.
using DrawSlot = std::optional<int>;

// The three draw slots, alive as long as the window and shared by both chains.
struct Module1 {
    DrawSlot DrawnDigit1;
    DrawSlot DrawnDigit2;
    DrawSlot DrawnDigit3;
};

// The controls of the window that the draw engine reads and writes.
struct DrawControls {
    QLineEdit& Text1;
    QLineEdit& Text2;
    QLineEdit& Text3;
    LogBox& Text4;
    QLabel& Label4;
    QAbstractButton& Command1;
    QAbstractButton& Command11;
    WindowTimer& Timer1;
    WindowTimer& Timer2;
    WindowTimer& Timer3;
    WindowTimer& Timer4;
    WindowTimer& Timer5;
    WindowTimer& Timer6;
    WindowTimer& Timer8;
    WindowTimer& Timer9;
    WindowTimer& Timer10;
};

// The draw log in Text4 and the draw counter in Label4.
class DrawLog {
public:
    static constexpr qsizetype kLimit = 58000;

    DrawLog(LogBox& text4, QLabel& label4, const Module1& slots);

    static QString DrawRecord(const QString& counter, const Module1& slots);

    void TrimLog();
    void CountDraw();
    void AppendDrawRecord();
    void MoveCaretToEnd();
    void Clear();  // the clear-log command

    QString text() const;
    qsizetype length() const;

private:
    LogBox& Text4;
    QLabel& Label4;
    const Module1& slots_;
};

// The three reels and the two timer chains that fill the slots.
class DrawMachine {
public:
    DrawMachine(const DrawControls& controls, Module1& slots, DrawLog& log, DigitSource& digits);

    void ResetSlots();
    void ClearDisplay();
    void StartReels();
    void StartManualChain() { c_.Timer4.setEnabled(true); }
    void StartAutomaticChain() { c_.Timer9.setEnabled(true); }

    bool manualChainRunning() const;
    bool automaticChainRunning() const;

    // Runs after an automatic draw has appended its record and moved the caret.
    void setAutomaticDrawFinished(std::function<void()> hook) { automaticDone_ = std::move(hook); }

private:
    void ReelTick(WindowTimer& timer, const DrawSlot& slot, QLineEdit& display);
    void Timer4_Timer();
    void Timer5_Timer();
    void Timer6_Timer();
    void Timer9_Timer();
    void Timer10_Timer();
    void Timer8_Timer();

    DrawControls c_;
    Module1& slots_;
    DrawLog& log_;
    DigitSource& digits_;
    std::function<void()> automaticDone_;
};

}  // namespace velmora
