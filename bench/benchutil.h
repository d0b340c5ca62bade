#pragma once

#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/qtscheduler.h"
#include "draw/windowtimer.h"
#include "web/links.h"

#include <QHash>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QTimer;

namespace velmora::bench {

// CLOCK_MONOTONIC in nanoseconds; the same clock in every process, so a parent's spawn time and a
// child's first frame can be subtracted.
std::int64_t MonotonicNs();
double Ms(std::int64_t ns);

double Median(std::vector<double> values);
// Nearest-rank percentile, p in [0, 100].
double Percentile(std::vector<double> values, double p);
double Max(const std::vector<double>& values);

// Kilobytes from /proc/self/status ("VmRSS", "VmHWM").
long StatusKb(const char* field);
// User plus system CPU time of this process.
double CpuSeconds();

std::string Fixed(double value, int decimals);
void Row(const std::string& measurement, const std::string& value, const std::string& target,
         const std::string& verdict);

// A digit source that plays a script and then repeats it.
class ScriptedDigits final : public DigitSource {
public:
    explicit ScriptedDigits(std::function<int(std::uint64_t)> digitAt)
        : digitAt_(std::move(digitAt)) {}
    int nextDigit() override { return digitAt_(drawn_++); }
    std::uint64_t drawn() const { return drawn_; }

private:
    std::function<int(std::uint64_t)> digitAt_;
    std::uint64_t drawn_ = 0;
};

// Message boxes that return at once and remember what they said.
class SilentMessages final : public Messages {
public:
    void show(const QString& text, const QString&) override { shown.append(text); }
    QStringList shown;
};

class NoBrowser final : public UrlOpener {
public:
    bool openAddress(const QString&) override { return true; }
};

// One draw record as it stands in the log; captures the counter.
const QRegularExpression& RecordPattern();
// The whole log as a run of records; returns the counters in order, or false if any part of the
// text is not a well-formed record.
bool SplitLog(const QString& log, std::vector<qint64>* counters);

// How late each tick of each window timer came, measured from outside the product: wraps the
// real scheduler, notes when each timer is armed and watches the timer events of the QTimers the
// real scheduler creates, before they reach the handler.
class TickLateness final : public QObject, public Scheduler {
public:
    TickLateness();
    void arm(WindowTimer& timer) override;
    void disarm(WindowTimer& timer) override;
    int armedCount() const { return inner_.armedCount(); }

    // Lateness in milliseconds of every tick of the named timers.
    std::vector<double> lateness(const QStringList& timerNames) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Arming {
        WindowTimer* timer = nullptr;
        std::int64_t armedAt = 0;
        std::int64_t ticks = 0;
        bool armed = false;
    };
    QtScheduler inner_;
    QHash<QTimer*, WindowTimer*> owners_;
    QHash<WindowTimer*, Arming> armings_;
    QHash<QString, std::vector<double>> lateness_;
};

}  // namespace velmora::bench
