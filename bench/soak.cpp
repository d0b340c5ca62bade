// The engine alone, with no window: automatic draws on the virtual clock, every record checked
// as it is logged, and the resident memory watched at every trim of the log.
// Usage: velmora-bench-soak [draws]   (default 1000000)
#include "control/drawengine.h"
#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/virtualclock.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct NoBoxes final : velmora::Messages {
    void show(const QString&, const QString&) override {}
};

double ResidentMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const long draws = argc > 1 ? std::stol(argv[1]) : 1000000;
    velmora::VirtualClock clock;
    velmora::ClockSeededDigitSource digits;
    NoBoxes boxes;
    velmora::DrawEngine engine(clock, digits, boxes);
    velmora::DrawLog& log = engine.machine().log();
    long n = 0, wrong = 0, trims = 0;
    double firstTrimMiB = 0, lastTrimMiB = 0;
    QObject::connect(&log, &velmora::DrawLog::recordAppended, [&](const QString& record) {
        // Logged during the tick interval after the one that started it.
        const QString expected = QStringLiteral("第%1次开奖结果:").arg(n - 1);
        bool digitsOk = true;
        for (qsizetype i = expected.size(); i < expected.size() + 3; ++i) {
            digitsOk = digitsOk && record.size() > i && record[i].isDigit();
        }
        const bool wellFormed = digitsOk && record.size() == expected.size() + 24 &&
                                record.startsWith(expected) && record.endsWith(QString(21, u' ')) &&
                                log.text().endsWith(record) && log.counter().toLong() == n - 1;
        wrong += wellFormed ? 0 : 1;
    });
    QObject::connect(&log, &velmora::DrawLog::cleared, [&] {
        lastTrimMiB = ResidentMiB();
        firstTrimMiB = ++trims == 1 ? lastTrimMiB : firstTrimMiB;
    });
    for (std::size_t i = 0; i < 3; ++i) {
        engine.search().setTarget(i, QStringLiteral("10"));  // no digit ever equals 10
    }
    engine.search().start();
    const auto start = std::chrono::steady_clock::now();
    for (n = 1; n <= draws; ++n) {
        clock.advance(velmora::AutomaticSearch::kInterval);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "| soak: %ld automatic draws, engine alone on the virtual clock | %.1f s | < 30 s per 1e6 "
        "| %s |\n",
        draws, seconds, seconds * 1e6 / draws < 30 ? "met" : "missed");
    std::printf(
        "| soak: records wrong / trims / counter | %ld / %ld / %s | 0 wrong, counter = draws | %s "
        "|\n",
        wrong, trims, qPrintable(log.counter()), wrong == 0 ? "met" : "missed");
    std::printf("| soak: RSS at first / last trim | %.1f / %.1f MiB | flat | %s |\n", firstTrimMiB,
                lastTrimMiB, lastTrimMiB - firstTrimMiB < 1.0 ? "met" : "missed");
    return wrong == 0 && log.counter().toLong() == draws ? 0 : 1;
}
