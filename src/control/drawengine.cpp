#include "control/drawengine.h"

#include "control/messages.h"
#include "draw/val.h"

#include <utility>

namespace velmora {

using namespace Qt::StringLiterals;

AutomaticSearch::AutomaticSearch(Scheduler& scheduler, DrawMachine& machine, Messages& messages)
    : machine_(machine),
      messages_(messages),
      supervisor_(scheduler, kInterval, [this] { supervise(); }) {
    connect(&machine_, &DrawMachine::automaticDrawCompleted, this, [this] {
        if (std::exchange(commandsBackAfterDraw_, false)) {
            giveDrawCommandsBack();
        }
    });
}

void AutomaticSearch::start() {
    if (!machine_.automaticDrawEnabled()) {
        return;
    }
    for (const QString& target : targets_) {
        if (target.isEmpty()) {
            messages_.show(u"请按照出球顺序填全上期开奖结果，以便于系统进行对比自动摇号"_s,
                           u"自动摇奖提示框"_s);
            return;
        }
    }
    supervisor_.setEnabled(true);
    machine_.setManualDrawEnabled(false);
    machine_.setAutomaticDrawEnabled(false);
    setCancelEnabled(true);
}

bool AutomaticSearch::displayMatchesTargets() const {
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (Val(targets_[i]) != Val(machine_.reel(i).text())) {
            return false;
        }
    }
    return true;
}

void AutomaticSearch::supervise() {
    // A tick that overtakes its own draw (a loaded or suspended machine) would start a second
    // draw over the first, or judge a reel that has not yet stopped on its digit; it waits for
    // the next tick instead.
    if (machine_.automaticChain().isRunning() || machine_.reelsRolling()) {
        return;
    }
    if (displayMatchesTargets()) {
        giveDrawCommandsBack();
        setCancelEnabled(false);
        messages_.show(u"找到昨天开奖号码"_s, u"摇奖提示框"_s);
        supervisor_.setEnabled(false);
        return;
    }
    machine_.log().TrimLog();
    machine_.setManualDrawEnabled(false);
    machine_.startAutomaticDraw();
    machine_.log().CountDraw();
}

void AutomaticSearch::cancel() {
    if (!cancelEnabled_) {
        return;
    }
    supervisor_.setEnabled(false);
    messages_.show(u"本次摇奖结束后，将停止继续摇奖"_s, u"摇奖提示框"_s);
    // The draw commands come back only once no automatic draw is under way: a manual draw
    // started on top of it would share the slots and log a record with foreign digits.
    if (machine_.automaticChain().isRunning()) {
        commandsBackAfterDraw_ = true;
    } else {
        giveDrawCommandsBack();
    }
    setCancelEnabled(false);
}

void AutomaticSearch::setCancelEnabled(bool enabled) {
    if (enabled != cancelEnabled_) {
        cancelEnabled_ = enabled;
        Q_EMIT cancelEnabledChanged(enabled);
    }
}

void AutomaticSearch::giveDrawCommandsBack() {
    machine_.setManualDrawEnabled(true);
    machine_.setAutomaticDrawEnabled(true);
}

DrawEngine::DrawEngine(Scheduler& scheduler, DigitSource& digits, Messages& messages)
    : machine_(scheduler, digits), search_(scheduler, machine_, messages) {}

void DrawEngine::drawByHand() {
    // Like a disabled button, a command that is not open does nothing: two quick clicks make
    // one draw.
    if (!machine_.manualDrawEnabled()) {
        return;
    }
    DrawLog& log = machine_.log();
    log.TrimLog();
    machine_.setManualDrawEnabled(false);
    machine_.setAutomaticDrawEnabled(false);
    machine_.clearDisplay();
    machine_.startManualDraw();
    log.CountDraw();
}

}  // namespace velmora
