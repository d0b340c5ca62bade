#include "control/draws.h"

#include "control/messages.h"
#include "draw/val.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace velmora {

using namespace Qt::StringLiterals;

ManualDraw::ManualDraw(const DrawControls& controls, DrawMachine& machine, DrawLog& log)
    : c_(controls), machine_(machine), log_(log) {}

void ManualDraw::Command1_Click() {
    log_.TrimLog();
    c_.Command1.setEnabled(false);
    c_.Command11.setEnabled(false);
    machine_.ResetSlots();
    machine_.ClearDisplay();
    machine_.StartReels();
    machine_.StartManualChain();
    log_.CountDraw();
}

AutomaticDraw::AutomaticDraw(const DrawControls& draw, const AutomaticDrawControls& controls,
                             DrawMachine& machine, DrawLog& log, Messages& messages)
    : d_(draw), c_(controls), machine_(machine), log_(log), messages_(messages) {
    c_.Timer7.setHandler([this] { Timer7_Timer(); });
    machine_.setAutomaticDrawFinished([this] {
        if (commandsAfterDraw_) {
            commandsAfterDraw_ = false;
            GiveCommandsBack();
        }
    });
}

void AutomaticDraw::Command11_Click() {
    if (c_.Text5.text().isEmpty() || c_.Text6.text().isEmpty() || c_.Text7.text().isEmpty()) {
        messages_.show(u"请按照出球顺序填全上期开奖结果，以便于系统进行对比自动摇号"_s,
                       u"自动摇奖提示框"_s);
        return;
    }
    c_.Timer7.setEnabled(true);
    d_.Command1.setEnabled(false);
    d_.Command11.setEnabled(false);
    c_.Command13.setEnabled(true);
}

void AutomaticDraw::Timer7_Timer() {
    // A tick that overtakes its own draw (a loaded or suspended machine) would start a second
    // draw on top of the first; it waits for the next tick instead.
    if (machine_.automaticChainRunning()) {
        return;
    }
    const bool match = Val(c_.Text5.text()) == Val(d_.Text1.text()) &&
                       Val(c_.Text6.text()) == Val(d_.Text2.text()) &&
                       Val(c_.Text7.text()) == Val(d_.Text3.text());
    if (match) {
        d_.Command1.setEnabled(true);
        d_.Command11.setEnabled(true);
        c_.Command13.setEnabled(false);
        messages_.show(u"找到昨天开奖号码"_s, u"摇奖提示框"_s);
        c_.Timer7.setEnabled(false);
        return;
    }
    log_.TrimLog();
    d_.Command1.setEnabled(false);
    machine_.ResetSlots();
    machine_.StartReels();
    machine_.StartAutomaticChain();
    log_.CountDraw();
}

void AutomaticDraw::Command13_Click() {
    c_.Timer7.setEnabled(false);
    messages_.show(u"本次摇奖结束后，将停止继续摇奖"_s, u"摇奖提示框"_s);
    // The draw commands come back only once no automatic draw is under way: a manual draw
    // started on top of it would share the slots and log a record with foreign digits.
    if (machine_.automaticChainRunning()) {
        commandsAfterDraw_ = true;
    } else {
        GiveCommandsBack();
    }
    c_.Command13.setEnabled(false);
}

void AutomaticDraw::GiveCommandsBack() {
    d_.Command1.setEnabled(true);
    d_.Command11.setEnabled(true);
}

}  // namespace velmora
