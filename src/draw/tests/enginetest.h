#pragma once

#include "draw/digitsource.h"
#include "draw/drawmachine.h"
#include "draw/virtualclock.h"

#include <QStringList>

#include <utility>

namespace velmora::test {

// Digits a test chooses; once the script runs out, zeros.
struct ScriptedDigits final : DigitSource {
    ScriptedDigits(std::initializer_list<int> digits = {}) : script(digits) {}
    int nextDigit() override { return script.isEmpty() ? 0 : script.takeFirst(); }
    // The script anew, from a string of digits: "369".
    void play(QStringView digits) {
        script.clear();
        for (QChar digit : digits) {
            script << digit.digitValue();
        }
    }
    QList<int> script;
};

inline QString Record(int n, const QString& digits) {
    return QStringLiteral("第%1次开奖结果:%2").arg(n).arg(digits) + QString(21, u' ');
}

// Everything the machine tells its window, in order and stamped with the virtual time, except
// the reels' single steps, which go into one string per reel ("_" for an emptied reel).
struct Recorder {
    Recorder(DrawMachine& machine, const VirtualClock& clock) : clock_(clock) {
        for (std::size_t i = 0; i < 3; ++i) {
            QObject::connect(&machine.reel(i), &Reel::textChanged, [this, i](const QString& text) {
                reels[i] += text.isEmpty() ? QStringLiteral("_") : text;
            });
            hear(&machine.reel(i), &Reel::stopped, QStringLiteral("reel %1 stops on").arg(i + 1));
        }
        hear(&machine.log(), &DrawLog::counterChanged, QStringLiteral("count"));
        hear(&machine.log(), &DrawLog::recordAppended, QStringLiteral("log"));
        hear(&machine.log(), &DrawLog::cleared, QStringLiteral("log cleared"));
        hear(&machine.log(), &DrawLog::caretMovedToEnd, QStringLiteral("caret to end"));
        hear(&machine, &DrawMachine::manualDrawEnabledChanged, QStringLiteral("manual draw"));
        hear(&machine, &DrawMachine::automaticDrawEnabledChanged, QStringLiteral("automatic draw"));
    }

    template <typename Sender, typename Signal>
    void hear(Sender* sender, Signal signal, const QString& what) {
        QObject::connect(sender, signal, [this, what](auto... value) {
            note((QStringList{what} << ... << Said(value)).join(u' '));
        });
    }
    void note(const QString& event) {
        events.append(QString::number(clock_.now() - origin_) + u' ' + event);
    }
    // The events so far; later ones are timed from now.
    QStringList take() {
        origin_ = clock_.now();
        return std::exchange(events, {});
    }

    QStringList events;
    QString reels[3];

private:
    static QString Said(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }
    static QString Said(const QString& text) { return text.trimmed(); }

    const VirtualClock& clock_;
    qint64 origin_ = 0;
};

}  // namespace velmora::test
