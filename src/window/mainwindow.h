#pragma once

#include "control/drawengine.h"
#include "stats/sessionstats.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class DigitSource;
class FileDialogs;
class LinkLabel;
class LogBox;
class Messages;
class PaneHost;
class Scheduler;
class TrendChartWindow;
class UrlOpener;

// The main window: the designed controls, mirroring the draw engine's state and passing the
// user's commands to it.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    // Where the outside world comes in; tests put a virtual clock, scripted digits and recording
    // boxes and browser here.
    struct Services {
        Scheduler& scheduler;
        DigitSource& digits;
        Messages& messages;
        UrlOpener& browser;
        FileDialogs& files;
        bool browserPanes = true;
    };

    // The real program: precise timers, clock-seeded digits, message boxes, the system browser,
    // the platform's file dialog.
    MainWindow();
    explicit MainWindow(const Services& services);
    ~MainWindow() override;

    // Points the browser panes at their pages; runs once, before the window is shown.
    void start();

    DrawEngine& engine() { return engine_; }
    PaneHost& panes() { return *panes_; }
    // Every draw of the session, however much of the log has been cleared or trimmed.
    const SessionStats& stats() const { return stats_; }
    // Opens the trend chart, or brings it to the front.
    TrendChartWindow& showChart();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct RealServices;
    MainWindow(std::unique_ptr<RealServices> real);
    MainWindow(const Services& services, std::unique_ptr<RealServices>&& real);

    void createControls();
    void bindEngine();
    void openLink(QStringView control);
    void createRecordActions();
    void copyRecord();
    QString askSavePath(const QString& title, const QString& name, const QString& filter,
                        const QString& suffix);
    // Says why a save failed, or remembers where it went.
    void saved(const QString& path, const QString& what, const QString& error);
    void saveRecord();
    void savePicture();

    std::unique_ptr<RealServices> real_;
    Services services_;
    DrawEngine engine_;
    SessionStats stats_;
    QPointer<TrendChartWindow> chart_;
    QAction* openChart_ = nullptr;
    QAction* copyRecord_ = nullptr;
    QAction* saveRecord_ = nullptr;
    QAction* savePicture_ = nullptr;
    QString saveFolder_;
    std::unique_ptr<PaneHost> panes_;
    std::array<QLineEdit*, 3> reelBoxes_{};
    std::array<QLineEdit*, 3> targetBoxes_{};
    LogBox* logBox_ = nullptr;
    QLabel* counter_ = nullptr;
    LinkLabel* downloadLink_ = nullptr;
    QPushButton* manualDraw_ = nullptr;
    QPushButton* automaticDraw_ = nullptr;
    QPushButton* cancelSearch_ = nullptr;
    QPushButton* clearLog_ = nullptr;
    bool firstFramePainted_ = false;
};

}  // namespace velmora
