#pragma once

#include "draw/drawmachine.h"
#include "draw/windowtimer.h"

#include <QLabel>
#include <QWidget>

#include <memory>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace velmora {

class AutomaticDraw;
class DigitSource;
class LogBox;
class ManualDraw;
class Messages;
class PaneHost;
class UrlOpener;

// Where the outside world comes into the window; tests put a virtual clock, scripted digits and
// recording boxes and browser here.
struct Form1Services {
    Scheduler& scheduler;
    DigitSource& digits;
    Messages& messages;
    UrlOpener& browser;
    bool browserPanes = true;
};

// The link label: reports plain mouse moves and clicks.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
Q_SIGNALS:
    void MouseMove();
    void Click();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

class Form1 final : public QWidget {
    Q_OBJECT

    struct RealServices;
    std::unique_ptr<RealServices> real_;
    Form1Services services_;

public:
    // The real program: precise timers, clock-seeded digits, message boxes, the system browser.
    Form1();
    explicit Form1(const Form1Services& services);
    ~Form1() override;

    // Start-up; runs once, after creation and before the window is shown.
    void Load();

    QPushButton* Command1;
    QPushButton* Command11;
    QPushButton* ccp;
    QPushButton* Command13;
    QGroupBox* Frame1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command6;
    QPushButton* Command7;
    QPushButton* Command8;
    QPushButton* Command9;
    QPushButton* Command10;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    LogBox* Text4;
    QLineEdit* Text5;
    QLineEdit* Text6;
    QLineEdit* Text7;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label3;
    QLabel* Label7;
    QLabel* Label9;
    QLabel* Label8;
    LinkLabel* Label5;
    QGroupBox* Frame2;
    QLabel* Label1;
    QWidget* Image1;
    QWidget* WebBrowser1;
    QWidget* WebBrowser2;

    WindowTimer Timer1;
    WindowTimer Timer2;
    WindowTimer Timer3;
    WindowTimer Timer4;
    WindowTimer Timer5;
    WindowTimer Timer6;
    WindowTimer Timer7;
    WindowTimer Timer8;
    WindowTimer Timer9;
    WindowTimer Timer10;

    const Module1& slots() const { return Module1_; }
    DrawLog& log() { return *log_; }
    DrawMachine& machine() { return *machine_; }
    PaneHost& panes() { return *panes_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit Form1(std::unique_ptr<RealServices> real);
    // The services are taken before `real` is moved in, so they may point into it.
    Form1(const Form1Services& services, std::unique_ptr<RealServices>&& real);

    void CreateControls();
    void SetTabOrder();
    void WireHandlers();
    void OpenLink(QStringView control);

    Module1 Module1_;
    std::unique_ptr<DrawLog> log_;
    std::unique_ptr<DrawMachine> machine_;
    std::unique_ptr<ManualDraw> manual_;
    std::unique_ptr<AutomaticDraw> automatic_;
    std::unique_ptr<PaneHost> panes_;
    bool firstFramePainted_ = false;
};

}  // namespace velmora
