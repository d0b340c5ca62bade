// Draws on the real clock (precise QTimers), with the lateness of every tick measured from outside.
//   velmora-bench-realclock timing        a manual draw, then three automatic cycles
//   velmora-bench-realclock stress [N]    an automatic search that matches at draw N (default 5)
//                                         while stress-ng keeps every core busy
#include "benchutil.h"
#include "draw/val.h"
#include "window/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

using namespace velmora::bench;
using namespace Qt::StringLiterals;

// Runs the event loop until the condition holds, looking every 100 ms; false on timeout.
bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer poll;
    poll.setTimerType(Qt::CoarseTimer);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || elapsed.elapsed() > timeoutMs) {
            loop.quit();
        }
    });
    poll.start(100);
    if (!done()) {
        loop.exec();
    }
    return done();
}

std::int64_t Records(velmora::Form1& form) {
    std::vector<qint64> counters;
    SplitLog(form.log().text(), &counters);
    return static_cast<std::int64_t>(counters.size());
}

void ReportLateness(const TickLateness& ticks, const std::string& prefix) {
    const struct {
        const char* what;
        QStringList timers;
    } groups[] = {
        {"reel ticks (Timer1-3)", {u"Timer1"_s, u"Timer2"_s, u"Timer3"_s}},
        {"chain steps (Timer4-6, 8-10)",
         {u"Timer4"_s, u"Timer5"_s, u"Timer6"_s, u"Timer8"_s, u"Timer9"_s, u"Timer10"_s}},
        {"supervisor ticks (Timer7)", {u"Timer7"_s}},
    };
    for (const auto& group : groups) {
        const std::vector<double> late = ticks.lateness(group.timers);
        Row(prefix + "lateness of " + group.what + ", n=" + std::to_string(late.size()),
            "median " + Fixed(Median(late), 2) + " / p99 " + Fixed(Percentile(late, 99), 2) +
                " / max " + Fixed(Max(late), 2) + " ms",
            "report only", "-");
    }
}

int Timing() {
    TickLateness scheduler;
    ScriptedDigits digits([](std::uint64_t i) { return static_cast<int>((i * 7 + i / 9) % 9); });
    SilentMessages messages;
    NoBrowser browser;
    velmora::Form1 form(velmora::Form1Services{scheduler, digits, messages, browser, false});
    form.Load();
    form.show();
    RunUntil([] { return false; }, 1000);

    form.Command1->click();
    if (!RunUntil([&] { return form.Command1->isEnabled() && scheduler.armedCount() == 0; },
                  15000)) {
        std::fprintf(stderr, "the manual draw did not finish\n");
        return EXIT_FAILURE;
    }
    form.Text5->setText(u"9"_s);
    form.Text6->setText(u"9"_s);
    form.Text7->setText(u"9"_s);
    form.Command11->click();
    if (!RunUntil([&] { return Records(form) >= 4; }, 45000)) {
        std::fprintf(stderr, "three automatic draws did not finish\n");
        return EXIT_FAILURE;
    }
    form.Command13->click();
    RunUntil([&] { return scheduler.armedCount() == 0; }, 2000);
    ReportLateness(scheduler, "real clock: ");
    std::printf("(one manual draw and three automatic cycles, window shown on %s)\n",
                qPrintable(QGuiApplication::platformName()));
    return EXIT_SUCCESS;
}

int Stress(int draws) {
    QProcess stress;
    const int cores = QThread::idealThreadCount();
    stress.start(u"stress-ng"_s, {u"--cpu"_s, QString::number(cores), u"--timeout"_s,
                                  QString::number(draws * 10 + 60) + u"s"_s, u"--quiet"_s});
    if (!stress.waitForStarted(5000)) {
        std::fprintf(stderr, "stress-ng could not be started (apt-get install -y stress-ng)\n");
        return EXIT_FAILURE;
    }
    RunUntil([] { return false; }, 1000);

    TickLateness scheduler;
    // Draws 1 to N-1 use digits 0-8 only; draw N gives 9 9 9, the target.
    const auto last = static_cast<std::uint64_t>(draws - 1);
    ScriptedDigits digits([last](std::uint64_t i) {
        return i / 3 == last ? 9 : static_cast<int>((i * 7 + i / 9) % 9);
    });
    SilentMessages messages;
    NoBrowser browser;
    velmora::Form1 form(velmora::Form1Services{scheduler, digits, messages, browser, false});
    form.Load();
    form.show();
    form.Text5->setText(u"9"_s);
    form.Text6->setText(u"9"_s);
    form.Text7->setText(u"9"_s);
    QElapsedTimer elapsed;
    elapsed.start();
    form.Command11->click();
    const bool matched = RunUntil([&] { return messages.shown.contains(u"找到昨天开奖号码"_s); },
                                  draws * 10000 + 30000);
    RunUntil([&] { return scheduler.armedCount() == 0; }, 3000);
    const double seconds = elapsed.elapsed() / 1000.0;
    stress.kill();
    stress.waitForFinished(5000);

    std::vector<qint64> counters;
    const QString text = form.log().text();
    const bool wellFormed = SplitLog(text, &counters);
    bool sequence = counters.size() == static_cast<std::size_t>(draws);
    for (std::size_t i = 0; sequence && i < counters.size(); ++i) {
        sequence = counters[i] == static_cast<qint64>(i + 1);
    }
    const bool counter = form.Label4->text() == velmora::DigitText(draws);
    const bool endsOnTarget = text.endsWith(u"次开奖结果:999"_s + QString(21, u' '));
    const bool idle = scheduler.armedCount() == 0 && form.Command1->isEnabled();
    const bool ok = matched && wellFormed && sequence && counter && endsOnTarget && idle;
    Row("stress: automatic search of " + std::to_string(draws) + " draws, stress-ng --cpu " +
            std::to_string(cores),
        std::string(matched ? "matched" : "NO MATCH") + " after " + Fixed(seconds, 1) + " s; " +
            std::to_string(counters.size()) + " records, " +
            (wellFormed && sequence ? "all well formed and numbered 1.." : "MALFORMED, ") +
            std::to_string(draws) + "; counter " + form.Label4->text().toStdString() +
            (idle ? "; no timer left armed" : "; TIMERS LEFT ARMED"),
        "well formed, counter matches", ok ? "met" : "missed");
    ReportLateness(scheduler, "stress: ");
    if (!ok) {
        std::fprintf(stderr, "log: %s\n", qPrintable(text));
    }
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "stress") == 0) {
        return Stress(argc > 2 ? std::max(1, std::atoi(argv[2])) : 5);
    }
    return Timing();
}
