#include "benchutil.h"

#include <QEvent>
#include <QTimer>
#include <QTimerEvent>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace velmora::bench {

using namespace Qt::StringLiterals;

std::int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

double Ms(std::int64_t ns) {
    return static_cast<double>(ns) / 1e6;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return NAN;
    }
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return NAN;
    }
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * values.size()));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double Max(const std::vector<double>& values) {
    return values.empty() ? NAN : *std::max_element(values.begin(), values.end());
}

long StatusKb(const char* field) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) {
        return -1;
    }
    char line[256];
    long kb = -1;
    const std::size_t len = std::strlen(field);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, len) == 0 && line[len] == ':') {
            kb = std::strtol(line + len + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return kb;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return tv.tv_sec + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

void Row(const std::string& measurement, const std::string& value, const std::string& target,
         const std::string& verdict) {
    std::printf("| %s | %s | %s | %s |\n", measurement.c_str(), value.c_str(), target.c_str(),
                verdict.c_str());
    std::fflush(stdout);
}

const QRegularExpression& RecordPattern() {
    static const QRegularExpression pattern(u"第([1-9][0-9]*)次开奖结果:[0-9]{3} {21}"_s);
    return pattern;
}

bool SplitLog(const QString& log, std::vector<qint64>* counters) {
    qsizetype at = 0;
    while (at < log.size()) {
        const QRegularExpressionMatch match =
            RecordPattern().match(log, at, QRegularExpression::NormalMatch,
                                  QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch()) {
            return false;
        }
        counters->push_back(match.captured(1).toLongLong());
        at = match.capturedEnd();
    }
    return true;
}

TickLateness::TickLateness() = default;

void TickLateness::arm(WindowTimer& timer) {
    inner_.arm(timer);
    armings_[&timer] = Arming{&timer, MonotonicNs(), 0, true};
    for (QTimer* qtimer : inner_.findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
        if (!owners_.contains(qtimer)) {
            owners_.insert(qtimer, &timer);
            qtimer->installEventFilter(this);
        }
    }
}

void TickLateness::disarm(WindowTimer& timer) {
    inner_.disarm(timer);
    armings_[&timer].armed = false;
}

bool TickLateness::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Timer) {
        const std::int64_t now = MonotonicNs();
        auto* qtimer = static_cast<QTimer*>(watched);
        WindowTimer* timer = owners_.value(qtimer);
        auto it = armings_.find(timer);
        if (timer && it != armings_.end() && it->armed &&
            static_cast<QTimerEvent*>(event)->timerId() == qtimer->timerId()) {
            const std::int64_t interval = std::int64_t{timer->interval()} * 1'000'000;
            std::int64_t tick = it->ticks + 1;
            // A tick more than an interval late means the timer skipped the ones in between.
            tick = std::max(tick, (now - it->armedAt) / interval);
            it->ticks = tick;
            lateness_[timer->objectName()].push_back(Ms(now - (it->armedAt + tick * interval)));
        }
    }
    return QObject::eventFilter(watched, event);
}

std::vector<double> TickLateness::lateness(const QStringList& timerNames) const {
    std::vector<double> all;
    for (const QString& name : timerNames) {
        const auto values = lateness_.value(name);
        all.insert(all.end(), values.begin(), values.end());
    }
    return all;
}

}  // namespace velmora::bench
