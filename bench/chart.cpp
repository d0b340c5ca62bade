// The session statistics and the trend chart with many draws: feeding 10^6 draws into the model,
// opening each view of the chart on 100 and 10^5 draws to its first frame, one live row added to
// each, and the memory of the model and the window. With --screenshot FILE it instead runs an
// automatic search in the main window on a virtual clock, with clock-seeded digits, until it
// finds its target, and saves a picture of each view and the picture 保存走势图图片… makes.
#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/virtualclock.h"
#include "stats/sessionstats.h"
#include "web/links.h"
#include "window/filedialogs.h"
#include "window/mainwindow.h"
#include "window/trendchart.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>

#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace velmora;
using namespace Qt::StringLiterals;

// Counts the frames a widget paints.
struct Frames final : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
    void waitForNext(int after) {
        while (count <= after) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
    }
};

Draw Pseudorandom(quint32& state) {
    state = state * 1664525u + 1013904223u;
    const quint32 number = (state >> 8) % 1000;
    return Draw{{static_cast<int>(number / 100), static_cast<int>(number / 10 % 10),
                 static_cast<int>(number % 10)}};
}

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Proportional set size of this process, KiB.
double PssKiB() {
    QFile file(u"/proc/self/smaps_rollup"_s);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QRegularExpression pss(u"^Pss:\\s+(\\d+)"_s, QRegularExpression::MultilineOption);
    return pss.match(QString::fromLatin1(file.readAll())).captured(1).toDouble();
}

void FeedAMillionDraws(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto stats = std::make_unique<SessionStats>();
        quint32 seed = 1;
        for (int i = 0; i < 1000000; ++i) {
            stats->add(Pseudorandom(seed));
        }
        bytes = HeapInUse() - before;
        benchmark::DoNotOptimize(stats->pValue(0));
    }
    state.counters["model_MiB"] = static_cast<double>(bytes) / (1 << 20);
}
BENCHMARK(FeedAMillionDraws)->Repetitions(9)->Unit(benchmark::kMillisecond);

// Sessions of 100 and of 10^5 draws: the chart's cost should follow its window, not the session.
std::map<int, std::unique_ptr<SessionStats>> sessions;

SessionStats& Session(int draws) {
    std::unique_ptr<SessionStats>& stats = sessions[draws];
    if (!stats) {
        stats = std::make_unique<SessionStats>();
        quint32 seed = 5;
        for (int i = 0; i < draws; ++i) {
            stats->add(Pseudorandom(seed));
        }
    }
    return *stats;
}

// The chart window shown on `view`, its chart's frames counted.
struct Shown {
    Shown(SessionStats& stats, int view) : window(stats, {}) {
        window.setView(static_cast<ChartView>(view));
        window.chart().viewport()->installEventFilter(&frames);
        window.resize(window.sizeHint());
        window.show();
        frames.waitForNext(0);
    }
    TrendChartWindow window;
    Frames frames;
};

// Arguments: the view, the session's length.
void OpenTheChartToItsFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        auto shown = std::make_unique<Shown>(Session(state.range(1)), state.range(0));
        state.PauseTiming();
        shown.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void OneLiveRow(benchmark::State& state) {
    SessionStats& stats = Session(state.range(1));
    Shown shown(stats, state.range(0));
    quint32 seed = 7;
    for (auto _ : state) {
        const int painted = shown.frames.count;
        stats.add(Pseudorandom(seed));
        shown.frames.waitForNext(painted);
    }
    QScrollBar* bar = shown.window.chart().verticalScrollBar();
    state.counters["kept_newest_in_view"] = bar->value() == bar->maximum() ? 1 : 0;
}

// Each view at 100 and at 10^5 draws, all in one run so that they can be compared.
void RegisterViews() {
    const std::array<const char*, kChartViews> names{"basic", "distribution", "sum", "span",
                                                     "form"};
    for (auto [benchmark, iterations] :
         {std::pair{&OpenTheChartToItsFirstFrame, 20}, std::pair{&OneLiveRow, 50}}) {
        const std::string name = benchmark == &OneLiveRow ? "OneLiveRow/" : "OpenTheChart/";
        for (int view = 0; view < kChartViews; ++view) {
            for (int draws : {100, 100000}) {
                benchmark::RegisterBenchmark((name + names[view]).c_str(), benchmark)
                    ->Args({view, draws})
                    ->Repetitions(9)
                    ->Iterations(iterations)
                    ->UseRealTime()
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
}

// Once: what 10^5 draws take in the model, and what the chart window adds when shown.
void MemoryWithAHundredThousandDraws(benchmark::State& state) {
    for (auto _ : state) {
        const std::size_t heap = HeapInUse();
        auto stats = std::make_unique<SessionStats>();
        quint32 seed = 3;
        for (int i = 0; i < 100000; ++i) {
            stats->add(Pseudorandom(seed));
        }
        state.counters["model_KiB"] = static_cast<double>(HeapInUse() - heap) / 1024;
        const std::size_t heapBefore = HeapInUse();
        const double pssBefore = PssKiB();
        auto window = std::make_unique<TrendChartWindow>(*stats, QList<QAction*>{});
        Frames frames;
        window->chart().viewport()->installEventFilter(&frames);
        window->resize(window->sizeHint());
        window->show();
        frames.waitForNext(0);
        QApplication::processEvents();
        state.counters["chart_heap_KiB"] = static_cast<double>(HeapInUse() - heapBefore) / 1024;
        state.counters["chart_pss_KiB"] = PssKiB() - pssBefore;
        state.counters["window_w"] = window->width();
        state.counters["window_h"] = window->height();
    }
}

struct Quiet final : Messages, UrlOpener, FileDialogs {
    void show(const QString& text, const QString&) override { said << text; }
    void openAddress(const QString&, std::function<void(bool)>) override {}
    QString saveFileName(QWidget*, const Save&) override { return {}; }
    int askNumber(QWidget*, const QString&, const QString&, int, int) override { return 0; }
    QStringList said;
};

int Screenshot(const QString& file) {
    VirtualClock clock;
    ClockSeededDigitSource digits;
    Quiet quiet;
    MainWindow window(MainWindow::Services{clock, digits, quiet, quiet, quiet, false});
    window.show();
    const QString target = u"307"_s;
    for (int i = 0; i < 3; ++i) {
        window.findChild<QLineEdit*>(u"Text"_s + QString::number(i + 5))->setText(target.mid(i, 1));
    }
    window.findChild<QPushButton*>(u"Command11"_s)->click();
    while (window.engine().search().isSearching()) {
        clock.advance(10000);
    }
    TrendChartWindow& chart = window.showChart();
    chart.resize(chart.sizeHint().width(), 640);
    std::printf("%lld draws, %s\n", static_cast<long long>(window.stats().size()),
                qPrintable(quiet.said.join(u" | "_s)));
    // FILE for 基本走势, FILE with the view's name before its ending for the others, and the
    // picture 保存走势图图片… saves of the last 30 draws.
    const std::array<QString, kChartViews> names{QString(), u"-distribution"_s, u"-sum"_s,
                                                 u"-span"_s, u"-form"_s};
    const QString stem = file.left(file.lastIndexOf(u'.'));
    bool saved = true;
    for (int view = 0; view < kChartViews; ++view) {
        chart.setView(static_cast<ChartView>(view));
        QApplication::processEvents();
        saved = chart.grab().save(stem + names[view] + u".png"_s) && saved;
    }
    chart.setView(ChartView::Basic);
    const qint64 total = window.stats().size();
    const QString error = chart.chart().savePicture(
        stem + u"-share.png"_s, 30, 1,
        u"走势图 (本次摇奖) · 基本走势 · 第%1–%2次 · 2026年12月7日 10:35\n"_s.arg(total - 29)
                .arg(total) +
            window.stats().verdict());
    return saved && error.isEmpty() ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--screenshot") == 0) {
        return Screenshot(QString::fromLocal8Bit(argv[2]));
    }
    RegisterViews();
    // After the views, as a window opened in a program that has shown others before.
    benchmark::RegisterBenchmark("MemoryWithAHundredThousandDraws", MemoryWithAHundredThousandDraws)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
