// Linked into a program, ends it once the first frame of its first window is on screen, so that
// hyperfine's time for the whole process is the time to that frame; with --stay the program stays.
// Built alone, it is the bare window: a 515x549 QWidget and nothing else.
#include <unistd.h>
#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

class FirstFrame final : public QObject {
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Queued behind the paint, it runs once every child is painted and the frame flushed.
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            QTimer::singleShot(0, [] { ::_exit(0); });
        }
        return false;
    }
};

void WatchFirstFrame() {
    if (!QCoreApplication::arguments().contains(QStringLiteral("--stay"))) {
        qApp->installEventFilter(new FirstFrame);
    }
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchFirstFrame)

#ifdef VELMORA_BENCH_BARE
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(515, 549);
    window.show();
    return QApplication::exec();
}
#endif
