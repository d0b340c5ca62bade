#pragma once

#include "draw/digitsource.h"
#include "draw/drawmachine.h"
#include "draw/virtualclock.h"

#include <QStringList>

#include <deque>
#include <utility>

namespace velmora::test {

// Digits a test chooses; once the script runs out it repeats `fallback`.
class ScriptedDigits final : public DigitSource {
public:
    explicit ScriptedDigits(std::initializer_list<int> digits = {}, int fallback = 0)
        : script_(digits), fallback_(fallback) {}
    void setFallback(int digit) { fallback_ = digit; }
    int nextDigit() override {
        if (script_.empty()) {
            return fallback_;
        }
        const int digit = script_.front();
        script_.pop_front();
        return digit;
    }

private:
    std::deque<int> script_;
    int fallback_;
};

inline QString Record(int n, const QString& digits) {
    return QStringLiteral("第%1次开奖结果:%2").arg(n).arg(digits) + QString(21, u' ');
}

// Everything the machine tells its window, in order and stamped with the virtual time, except
// the reels' single steps, which go into one string per reel.
struct Recorder {
    Recorder(DrawMachine& machine, const VirtualClock& clock) : clock_(clock) {
        for (std::size_t i = 0; i < 3; ++i) {
            Reel* reel = &machine.reel(i);
            QObject::connect(reel, &Reel::textChanged, [this, i](const QString& text) {
                reels[i] += text.isEmpty() ? QStringLiteral("_") : text;
            });
            QObject::connect(reel, &Reel::stopped, [this, i](const QString& digit) {
                note(QStringLiteral("reel %1 stops on %2").arg(i + 1).arg(digit));
            });
        }
        DrawLog* log = &machine.log();
        QObject::connect(log, &DrawLog::counterChanged, [this](const QString& counter) {
            note(QStringLiteral("count ") + counter);
        });
        QObject::connect(log, &DrawLog::recordAppended,
                         [this](const QString& record) { note(record.trimmed()); });
        QObject::connect(log, &DrawLog::cleared, [this] { note(QStringLiteral("log cleared")); });
        QObject::connect(log, &DrawLog::caretMovedToEnd,
                         [this] { note(QStringLiteral("caret to end")); });
        QObject::connect(&machine, &DrawMachine::manualDrawEnabledChanged, [this](bool on) {
            note(QStringLiteral("manual draw ") +
                 (on ? QStringLiteral("on") : QStringLiteral("off")));
        });
        QObject::connect(&machine, &DrawMachine::automaticDrawEnabledChanged, [this](bool on) {
            note(QStringLiteral("automatic draw ") +
                 (on ? QStringLiteral("on") : QStringLiteral("off")));
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
    const VirtualClock& clock_;
    qint64 origin_ = 0;
};

}  // namespace velmora::test
