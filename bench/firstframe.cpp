// One start-up: builds a window, shows it and prints, in CLOCK_MONOTONIC nanoseconds, when main
// began, when the window was built and when its first frame had been painted and flushed.
// Usage: velmora-bench-frame bare|bare-sharegl|form|form-nopanes
#include "benchutil.h"
#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/qtscheduler.h"
#include "web/links.h"
#include "window/form1.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using velmora::bench::MonotonicNs;

std::int64_t mainStart = 0;
std::int64_t windowBuilt = 0;

// The first paint of the top-level widget; the queued report runs once the repaint manager has
// painted every child and flushed the backing store to the screen.
class FirstFrame final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, watched, [] {
                const std::int64_t frame = MonotonicNs();
                std::printf("%lld %lld %lld\n", static_cast<long long>(mainStart),
                            static_cast<long long>(windowBuilt), static_cast<long long>(frame));
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    mainStart = MonotonicNs();
    const char* mode = argc > 1 ? argv[1] : "bare";
    const bool bare = std::strncmp(mode, "bare", 4) == 0;
    if (std::strcmp(mode, "bare-sharegl") == 0) {
        // What asking Qt for shared OpenGL contexts at start-up would cost; the program makes its
        // shared context only when the browser panes load, after the first frame.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }
    QApplication app(argc, argv);

    std::unique_ptr<QWidget> window;
    velmora::QtScheduler scheduler;
    velmora::ClockSeededDigitSource digits;
    velmora::QMessageBoxMessages messages;
    velmora::DesktopUrlOpener browser;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(515, 549);
    } else if (std::strcmp(mode, "form") == 0) {
        auto form = std::make_unique<velmora::Form1>();
        form->Load();
        window = std::move(form);
    } else {
        auto form = std::make_unique<velmora::Form1>(
            velmora::Form1Services{scheduler, digits, messages, browser, false});
        form->Load();
        window = std::move(form);
    }
    windowBuilt = MonotonicNs();
    FirstFrame watch;
    window->installEventFilter(&watch);
    window->show();
    return QApplication::exec();
}
