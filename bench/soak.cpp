// velmora-bench-soak [draws]: the engine alone on the virtual clock, every record checked.
#include <QFile>
#include <QRegularExpression>
#include <chrono>
#include <cstdio>
#include "control/drawengine.h"
#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/virtualclock.h"

using namespace velmora;

struct NoBoxes final : Messages {
    void show(const QString&, const QString&) override {}
};

int main(int argc, char* argv[]) {
    const long draws = argc > 1 ? std::atol(argv[1]) : 1000000;
    VirtualClock clock;
    ClockSeededDigitSource digits;
    NoBoxes boxes;
    DrawEngine engine(clock, digits, boxes);
    DrawLog& log = engine.machine().log();
    const QRegularExpression record(QStringLiteral("^第(\\d+)次开奖结果:\\d\\d\\d {21}$"));
    const QRegularExpression resident(QStringLiteral("VmRSS:\\s*(\\d+)"));
    long n = 0, wrong = 0, trims = 0;  // n: the tick interval a record is logged in
    double kib[2] = {};                // resident memory at the first and the last trim
    QObject::connect(&log, &DrawLog::recordAppended, [&](const QString& text) {
        const QString number = record.match(text).captured(1);
        wrong +=
            !(number.toLong() == n - 1 && log.counter() == number && log.text().endsWith(text));
    });
    QObject::connect(&log, &DrawLog::cleared, [&] {
        QFile status(QStringLiteral("/proc/self/status"));
        (void)status.open(QIODevice::ReadOnly);
        kib[++trims > 1] =
            resident.match(QString::fromLatin1(status.readAll())).captured(1).toDouble();
    });
    for (std::size_t i = 0; i < 3; ++i) {
        engine.search().setTarget(i, QStringLiteral("10"));  // no digit ever equals 10
    }
    engine.search().start();
    const auto start = std::chrono::steady_clock::now();
    for (n = 1; n <= draws; ++n) {
        clock.advance(AutomaticSearch::kInterval);
    }
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const bool ok = wrong == 0 && log.counter().toLong() == draws;
    std::printf(
        "| soak: %ld automatic draws, engine alone, virtual clock | %.1f s | < 30 s per 1e6 | %s "
        "|\n"
        "| soak: records wrong / trims / counter | %ld / %ld / %s | 0, = draws | %s |\n"
        "| soak: RSS at first / last trim | %.1f / %.1f MiB | flat | %s |\n",
        draws, took, took * 1e6 / draws < 30 ? "met" : "missed", wrong, trims,
        qPrintable(log.counter()), ok ? "met" : "missed", kib[0] / 1024, kib[1] / 1024,
        kib[1] - kib[0] < 1024 ? "met" : "missed");
    return ok ? 0 : 1;
}
