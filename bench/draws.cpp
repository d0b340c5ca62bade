// The main window on the real clock: a draw by hand, then either (N [stress]) a search for 9 9 9
// that matches at its draw N, stress-ng busy on every core if asked, with the lateness of the
// timers' ticks taken from outside the engine; or (append [benchmark options]) a record appended
// to a log of full size (just over 58000 characters, where the next draw empties it).
#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/drawlog.h"
#include "draw/qtscheduler.h"
#include "web/links.h"
#include "window/filedialogs.h"
#include "window/mainwindow.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <map>
#include <string_view>

namespace {

using namespace velmora;
using namespace Qt::StringLiterals;

QElapsedTimer clock_;

struct Quiet final : Messages, UrlOpener, DigitSource, FileDialogs {
    void show(const QString&, const QString&) override {}
    QString saveFileName(QWidget*, const Save&) override { return {}; }
    int askNumber(QWidget*, const QString&, const QString&, int, int) override { return 0; }
    void openAddress(const QString&, std::function<void(bool)>) override {}
    int nextDigit() override { return ++drawn > 3 * match ? 9 : (drawn * 7) % 9; }  // 9 9 9 last
    int match = 4;
    int drawn = 0;
};

// The program's scheduler, noting when each timer is armed and when its QTimer's events arrive.
class Lateness final : public QObject, public Scheduler {
public:
    void arm(WindowTimer& timer) override {
        inner.arm(timer);
        armed_[&timer] = {clock_.nsecsElapsed() / 1e6, 0};
        if (const auto timers = inner.findChildren<QTimer*>(); !owners_.contains(timers.back())) {
            owners_[timers.back()] = &timer;
            timers.back()->installEventFilter(this);
        }
    }
    void disarm(WindowTimer& timer) override { armed_.erase(&timer), inner.disarm(timer); }
    QtScheduler inner;
    std::map<int, std::vector<double>> late;  // by interval

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto it = armed_.find(owners_[watched]);
        if (event->type() == QEvent::Timer && it != armed_.end()) {
            const double interval = it->first->interval(), now = clock_.nsecsElapsed() / 1e6;
            auto& [at, ticks] = it->second;
            // A tick more than an interval late stands in for those it skipped.
            ticks = std::max(ticks + 1, static_cast<long>((now - at) / interval));
            late[it->first->interval()].push_back(now - at - ticks * interval);
        }
        return false;
    }

private:
    std::map<QObject*, WindowTimer*> owners_;
    std::map<WindowTimer*, std::pair<double, long>> armed_;
};

void RunUntil(const std::function<bool()>& done, qint64 timeoutMs) {
    for (QDeadlineTimer deadline(timeoutMs); !done() && !deadline.hasExpired();) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

MainWindow* shown = nullptr;

void Append(benchmark::State& state) {
    DrawLog& log = shown->engine().machine().log();
    log.Clear();  // every repetition starts from the same log, built as draws build it
    while (log.text().size() < DrawLog::kLimit) {
        log.CountDraw();
        log.AppendDrawRecord(shown->engine().machine().slots());
    }
    QApplication::processEvents();
    state.counters["characters"] = static_cast<double>(log.text().size());
    for (auto _ : state) {
        log.AppendDrawRecord(shown->engine().machine().slots());
        log.MoveCaretToEnd();
    }
}
BENCHMARK(Append)->Iterations(100)->Repetitions(9)->Unit(benchmark::kMillisecond);

bool Row(const QString& what, const QString& value, const char* goal, bool met) {
    std::printf("| %s | %s | %s | %s |\n", qPrintable(what), qPrintable(value), goal,
                met ? "met" : "missed");
    return met;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    clock_.start();
    Lateness scheduler;
    Quiet quiet;
    const bool append = argc > 1 && std::string_view(argv[1]) == "append";
    quiet.match = argc > 1 && !append ? std::max(1, std::atoi(argv[1])) : 4;
    MainWindow window(MainWindow::Services{scheduler, quiet, quiet, quiet, quiet, false});
    window.start();
    window.show();
    DrawEngine& engine = window.engine();
    QProcess stress;
    if (argc > 2 && !append) {
        stress.start(u"stress-ng"_s, {u"--cpu"_s, u"0"_s, u"--quiet"_s});
    }
    engine.drawByHand();
    RunUntil([&] { return engine.machine().manualDrawEnabled(); }, 15000);
    if (append) {
        shown = &window;
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        return 0;
    }
    for (std::size_t i : {0, 1, 2})
        engine.search().setTarget(i, u"9"_s);
    engine.search().start();
    RunUntil([&] { return !engine.search().isSearching(); }, quiet.match * 10000 + 20000);
    stress.close();

    // The log holds well-formed records alone, one a draw, the last one the match.
    const QString& log = engine.machine().log().text();
    const QString counter = engine.machine().log().counter();
    static const QRegularExpression records(u"(第[1-9][0-9]*次开奖结果:[0-9]{3} {21})+"_s);
    const qsizetype draws = log.count(u"次开奖结果:"_s);
    bool met = records.match(log).capturedLength() == log.size() && draws == quiet.match + 1 &&
               counter == QString::number(draws) && log.endsWith(u":999"_s + QString(21, u' ')) &&
               scheduler.inner.armedCount() == 0;
    const QString kind = argc > 2 ? u"stress: "_s : u"real clock: "_s;
    Row(kind + u"records of a draw by hand and a search of %1"_s.arg(quiet.match),
        u"%1 well formed, counter %2"_s.arg(met ? draws : -1).arg(counter), "all, equal", met);
    for (auto& [interval, late] : scheduler.late) {
        std::sort(late.begin(), late.end());
        const double p99 = late[late.size() * 99 / 100];
        met = Row(kind + u"lateness of %1 ms ticks, n=%2"_s.arg(interval).arg(late.size()),
                  u"median %1, p99 %2, max %3 ms"_s.arg(late[late.size() / 2], 0, 'f', 2)
                      .arg(p99, 0, 'f', 2)
                      .arg(late.back(), 0, 'f', 2),
                  "p99 < 5 ms", p99 < 5) &&
              met;
    }
    return met ? 0 : 1;
}
