#include "draw/drawmachine.h"

#include "draw/digitsource.h"
#include "draw/logbox.h"
#include "draw/val.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>

namespace velmora {

using namespace Qt::StringLiterals;

namespace {

QString SlotText(const DrawSlot& slot) {
    return slot ? DigitText(*slot) : QString();
}

}  // namespace

DrawLog::DrawLog(LogBox& text4, QLabel& label4, const Module1& slots)
    : Text4(text4), Label4(label4), slots_(slots) {}

QString DrawLog::DrawRecord(const QString& counter, const Module1& slots) {
    return u"第"_s + counter + u"次开奖结果:"_s + SlotText(slots.DrawnDigit1) +
           SlotText(slots.DrawnDigit2) + SlotText(slots.DrawnDigit3) +
           QString(21, QLatin1Char(' '));
}

QString DrawLog::text() const {
    return Text4.text();
}

qsizetype DrawLog::length() const {
    return Text4.length();
}

void DrawLog::TrimLog() {
    if (length() > kLimit) {
        Text4.clear();
    }
}

void DrawLog::CountDraw() {
    Label4.setText(DigitText(Val(Label4.text()) + 1));
}

void DrawLog::AppendDrawRecord() {
    Text4.appendText(DrawRecord(Label4.text(), slots_));
}

void DrawLog::MoveCaretToEnd() {
    QTextCursor cursor = Text4.textCursor();
    cursor.movePosition(QTextCursor::End);
    Text4.setTextCursor(cursor);
    Text4.ensureCursorVisible();
}

void DrawLog::Clear() {
    Text4.clear();
}

DrawMachine::DrawMachine(const DrawControls& controls, Module1& slots, DrawLog& log,
                         DigitSource& digits)
    : c_(controls), slots_(slots), log_(log), digits_(digits) {
    c_.Timer1.setHandler([this] { ReelTick(c_.Timer1, slots_.DrawnDigit1, c_.Text1); });
    c_.Timer2.setHandler([this] { ReelTick(c_.Timer2, slots_.DrawnDigit2, c_.Text2); });
    c_.Timer3.setHandler([this] { ReelTick(c_.Timer3, slots_.DrawnDigit3, c_.Text3); });
    c_.Timer4.setHandler([this] { Timer4_Timer(); });
    c_.Timer5.setHandler([this] { Timer5_Timer(); });
    c_.Timer6.setHandler([this] { Timer6_Timer(); });
    c_.Timer9.setHandler([this] { Timer9_Timer(); });
    c_.Timer10.setHandler([this] { Timer10_Timer(); });
    c_.Timer8.setHandler([this] { Timer8_Timer(); });
}

void DrawMachine::ResetSlots() {
    slots_ = Module1{};
}

void DrawMachine::ClearDisplay() {
    c_.Text1.setText(QString());
    c_.Text2.setText(QString());
    c_.Text3.setText(QString());
}

void DrawMachine::StartReels() {
    c_.Timer1.setEnabled(true);
    c_.Timer2.setEnabled(true);
    c_.Timer3.setEnabled(true);
}

bool DrawMachine::manualChainRunning() const {
    return c_.Timer4.isEnabled() || c_.Timer5.isEnabled() || c_.Timer6.isEnabled();
}

bool DrawMachine::automaticChainRunning() const {
    return c_.Timer9.isEnabled() || c_.Timer10.isEnabled() || c_.Timer8.isEnabled();
}

void DrawMachine::ReelTick(WindowTimer& timer, const DrawSlot& slot, QLineEdit& display) {
    if (slot) {
        display.setText(DigitText(*slot));
        timer.setEnabled(false);
    } else if (display.text() == u"9") {
        display.setText(u"0"_s);
    } else {
        display.setText(DigitText(Val(display.text()) + 1));
    }
}

void DrawMachine::Timer4_Timer() {
    slots_.DrawnDigit1 = digits_.nextDigit();
    c_.Timer4.setEnabled(false);
    c_.Timer5.setEnabled(true);
}

void DrawMachine::Timer5_Timer() {
    slots_.DrawnDigit2 = digits_.nextDigit();
    c_.Timer5.setEnabled(false);
    c_.Timer6.setEnabled(true);
}

void DrawMachine::Timer6_Timer() {
    slots_.DrawnDigit3 = digits_.nextDigit();
    c_.Timer6.setEnabled(false);
    log_.AppendDrawRecord();
    c_.Command1.setEnabled(true);
    c_.Command11.setEnabled(true);
    log_.MoveCaretToEnd();
}

void DrawMachine::Timer9_Timer() {
    slots_.DrawnDigit1 = digits_.nextDigit();
    c_.Timer9.setEnabled(false);
    c_.Timer10.setEnabled(true);
}

void DrawMachine::Timer10_Timer() {
    slots_.DrawnDigit2 = digits_.nextDigit();
    c_.Timer10.setEnabled(false);
    c_.Timer8.setEnabled(true);
}

void DrawMachine::Timer8_Timer() {
    slots_.DrawnDigit3 = digits_.nextDigit();
    c_.Timer8.setEnabled(false);
    log_.AppendDrawRecord();
    log_.MoveCaretToEnd();
    if (automaticDone_) {
        automaticDone_();
    }
}

}  // namespace velmora
