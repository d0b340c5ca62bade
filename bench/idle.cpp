// Idle cost: the main window (browser panes off) shown and left alone; the program must arm no
// timer of its own and use almost no processor time. Usage: velmora-bench-idle [seconds]
#include "benchutil.h"
#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/qtscheduler.h"
#include "web/links.h"
#include "window/form1.h"

#include <QApplication>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace velmora::bench;

long ContextSwitches() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;

    velmora::QtScheduler scheduler;
    velmora::ClockSeededDigitSource digits;
    velmora::QMessageBoxMessages messages;
    velmora::DesktopUrlOpener browser;
    velmora::Form1 form(velmora::Form1Services{scheduler, digits, messages, browser, false});
    messages.setParentWidget(&form);
    form.Load();
    const int armedAfterLoad = scheduler.armedCount();
    form.show();

    double cpuStart = 0;
    long switchesStart = 0;
    std::int64_t wallStart = 0;
    // Two seconds for the first frames to settle, then the measured interval.
    QTimer::singleShot(2000, [&] {
        cpuStart = CpuSeconds();
        switchesStart = ContextSwitches();
        wallStart = MonotonicNs();
        QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    });
    QApplication::exec();
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = Ms(MonotonicNs() - wallStart) / 1000;
    const long switches = ContextSwitches() - switchesStart;
    const int armedAtEnd = scheduler.armedCount();

    const double percent = cpu / wall * 100;
    Row("idle: timers armed after Load / after " + std::to_string(seconds) + " s shown",
        std::to_string(armedAfterLoad) + " / " + std::to_string(armedAtEnd), "0",
        armedAfterLoad == 0 && armedAtEnd == 0 ? "met" : "missed");
    Row("idle: CPU over " + Fixed(wall, 1) + " s shown, panes off",
        Fixed(percent, 3) + " % of one core (" + Fixed(cpu * 1000, 1) + " ms CPU, " +
            std::to_string(switches) + " context switches)",
        "< 0.5 %", percent < 0.5 ? "met" : "missed");
    return EXIT_SUCCESS;
}
