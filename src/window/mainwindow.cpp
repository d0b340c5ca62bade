// How a click becomes a log record: a button's click calls the draw engine (DrawEngine), which
// resets the three draw slots and enables the reels' and the draw chain's timers. The scheduler
// ticks those timers on this thread: every 50 ms each reel counts its digit up, every 3 s the
// chain draws the next digit, and each reel stops on its digit at its next tick. The chain's last
// step appends the record to the engine's log. Every change goes out as a signal, and this window
// only mirrors it onto its controls. The automatic search's supervisor ticks every 10 s and starts
// one automatic draw per tick until the display equals the typed targets.
#include "window/mainwindow.h"

#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/qtscheduler.h"
#include "web/links.h"
#include "web/panehost.h"
#include "window/controls.h"
#include "window/filedialogs.h"
#include "window/look.h"
#include "window/trendchart.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

#include <array>

namespace velmora {

using namespace Qt::StringLiterals;

namespace {

class MessageBoxes final : public Messages {
public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}
    void show(const QString& text, const QString& title) override {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
        // The whole window speaks Chinese, whatever language the desktop is set to.
        box.button(QMessageBox::Ok)->setText(u"确定"_s);
        box.exec();
    }

private:
    QWidget* parent_;
};

enum class Kind { Label, Link, Picture, Pane, Reel, Target, Log, Button, Frame };

constexpr unsigned int kDefaultColour = 0xFFFFFFFFu;

// The designed controls in stacking order (later ones are drawn over earlier ones), with their
// places in twips inside their containers.
struct Designed {
    QStringView name;
    Kind kind;
    QStringView container;
    QRect twips;
    qreal points = 0;
    QStringView caption = {};
    unsigned int colour = kDefaultColour;
    bool bold = false;
};

constexpr QStringView kHelpText =
    u"    "
    u"我们提供一种预测方法，首先要知道上期开奖结果，而且要按出球顺序填在\"上期开奖结果自动摇号\"下"
    u"边的三个格子内，然后点击自动摇奖，等待数秒后开始自动摇奖（记得千万不要用变速齿轮，因为程序会"
    u"跟不上，造成摇不出来全部的号）,"
    u"上边一行摇出来跟下边上次摇奖的结果一样的话，程序会停，然后你可以手动跟几注，模拟上期开奖后的"
    u"摇奖结果几率，试试手气！当然也可以直接手动摇几注！";

constexpr std::array kDesign{
    Designed{u"Label2", Kind::Label, {}, {5280, 120, 495, 375}, 15.75, u"<第", kBlue, true},
    Designed{u"Label4", Kind::Label, {}, {5880, 120, 855, 375}, 15.75, u"0", kBlue, true},
    Designed{u"Label3", Kind::Label, {}, {6840, 120, 615, 375}, 15.75, u"次>", kBlue, true},
    Designed{u"Label7", Kind::Label, {}, {2520, 600, 1815, 255}, 9, u"本次摇奖：", kRed},
    Designed{u"Label9", Kind::Label, {}, {5160, 600, 2415, 255}, 9, u"开奖记录：", kRed},
    Designed{u"Label8",
             Kind::Label,
             {},
             {2520, 1920, 2415, 255},
             9,
             u"填写上期开奖结果自动摇号：",
             kRed},
    Designed{u"Label5", Kind::Link, {}, {120, 7080, 2415, 255}, 9, u">>>> Corvinet工具下载", kRed},
    Designed{u"Image1", Kind::Picture, {}, {120, 120, 315, 435}},
    Designed{u"WebBrowser1", Kind::Pane, {}, {600, 120, 4455, 375}},
    Designed{u"WebBrowser2", Kind::Pane, {}, {120, 7440, 4935, 615}},
    Designed{u"Text1", Kind::Reel, {}, {2520, 840, 615, 855}, 36},
    Designed{u"Text2", Kind::Reel, {}, {3480, 840, 615, 855}, 36},
    Designed{u"Text3", Kind::Reel, {}, {4440, 840, 600, 855}, 36},
    Designed{u"Text5", Kind::Target, {}, {2520, 2160, 615, 495}, 26.25},
    Designed{u"Text6", Kind::Target, {}, {3480, 2160, 615, 495}, 26.25},
    Designed{u"Text7", Kind::Target, {}, {4440, 2160, 615, 495}, 26.25},
    Designed{u"Text4", Kind::Log, {}, {5160, 840, 2340, 7215}, 10.5, {}, kBlue},
    Designed{u"Command1", Kind::Button, {}, {2520, 2760, 1215, 375}, 9, u"手动摇奖"},
    Designed{u"Command11", Kind::Button, {}, {3840, 2760, 1215, 375}, 9, u"自动摇奖"},
    Designed{u"ccp", Kind::Button, {}, {2520, 3240, 1215, 375}, 9, u"清空记录"},
    Designed{u"Command13", Kind::Button, {}, {3840, 3240, 1215, 375}, 9, u"取消自动"},
    Designed{u"Frame1", Kind::Frame, {}, {120, 720, 2295, 6255}, 10.5, u"相关查询"},
    Designed{u"Command2", Kind::Button, u"Frame1", {240, 360, 1815, 375}, 10.5, u"全国彩票查询"},
    Designed{u"Command3", Kind::Button, u"Frame1", {240, 960, 1815, 375}, 10.5, u"3D基本走势"},
    Designed{u"Command4", Kind::Button, u"Frame1", {240, 1560, 1815, 375}, 10.5, u"质合号码分布"},
    Designed{
        u"Command5", Kind::Button, u"Frame1", {240, 2160, 1815, 375}, 10.5, u"除3余数走势1 \r\n"},
    Designed{u"Command6", Kind::Button, u"Frame1", {240, 2760, 1815, 375}, 10.5, u"3D历史开奖详情"},
    Designed{u"Command7", Kind::Button, u"Frame1", {240, 3360, 1815, 375}, 10.5, u"3D跨度遗漏"},
    Designed{u"Command8", Kind::Button, u"Frame1", {240, 3960, 1815, 375}, 10.5, u"3D AC值折线图"},
    Designed{u"Command9", Kind::Button, u"Frame1", {240, 4560, 1815, 375}, 10.5, u"奇偶形态分布"},
    Designed{
        u"Command10", Kind::Button, u"Frame1", {240, 5160, 1815, 375}, 10.5, u"3D组三 六码遗漏"},
    Designed{u"Frame2", Kind::Frame, {}, {2520, 3840, 2535, 3135}, 9, u"2010年12月25日改版", kRed},
    Designed{u"Label1", Kind::Label, u"Frame2", {120, 240, 2295, 2775}, 9, kHelpText, kBlue},
};

constexpr std::array<QStringView, 22> kTabOrder{
    u"Text1",     u"Text2",     u"Text3",       u"Command1",   u"Text4",    u"Command2",
    u"Command3",  u"Command4",  u"Command5",    u"Command6",   u"Command7", u"Command8",
    u"Command9",  u"Command10", u"WebBrowser1", u"Text5",      u"Text6",    u"Text7",
    u"Command11", u"ccp",       u"Command13",   u"WebBrowser2"};

struct Spoken {
    QStringView control;
    QStringView name;
    QStringView description;
};

// What a screen reader says for the controls whose text alone does not say what they are.
constexpr std::array kSpoken{
    Spoken{u"Text1", u"第一位号码", u"本次摇奖的第一位号码，摇奖时滚动，开出后停在该号码上"},
    Spoken{u"Text2", u"第二位号码", u"本次摇奖的第二位号码，摇奖时滚动，开出后停在该号码上"},
    Spoken{u"Text3", u"第三位号码", u"本次摇奖的第三位号码，摇奖时滚动，开出后停在该号码上"},
    Spoken{u"Text5", u"上期开奖第一位", u"填写上期开奖结果的第一个球，一个字符"},
    Spoken{u"Text6", u"上期开奖第二位", u"填写上期开奖结果的第二个球，一个字符"},
    Spoken{u"Text7", u"上期开奖第三位", u"填写上期开奖结果的第三个球，一个字符"},
    Spoken{u"Text4", u"开奖记录", u"每次摇奖的结果，最新的在最后"},
    Spoken{u"Label4", u"第 0 次", u"自程序启动以来开始的摇奖次数"},
    Spoken{u"Image1", u"中国结", u"红色中国结装饰图案"},
    Spoken{u"Label5", u"Corvinet工具下载", u"在浏览器中打开工具下载页面"},
    Spoken{u"WebBrowser1", u"网页窗格（上）", {}},
    Spoken{u"WebBrowser2", u"网页窗格（下）", {}},
};

QWidget* Create(const Designed& d, QWidget* container) {
    switch (d.kind) {
        case Kind::Label:
        case Kind::Link: {
            QLabel* label = d.kind == Kind::Link ? new LinkLabel(container) : new QLabel(container);
            label->setTextFormat(Qt::PlainText);
            label->setText(d.caption.toString());
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setAutoFillBackground(true);
            return label;
        }
        case Kind::Picture:
            return new Picture(u":/velmora/knot"_s, container);
        case Kind::Pane:
            return new QWidget(container);
        case Kind::Reel:
        case Kind::Target: {
            auto* box = new QLineEdit(container);
            box->setReadOnly(d.kind == Kind::Reel);
            if (d.kind == Kind::Target) {
                box->setMaxLength(1);
            }
            return box;
        }
        case Kind::Log: {
            auto* log = new LogBox(container);
            log->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            log->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            return log;
        }
        case Kind::Button: {
            auto* button = new CaptionButton(d.caption.toString(), container);
            // Enter presses a focused button, as Space does.
            button->setAutoDefault(true);
            return button;
        }
        case Kind::Frame:
            return new CaptionedFrame(d.caption.toString(), container);
    }
    return nullptr;
}

}  // namespace

struct MainWindow::RealServices {
    explicit RealServices(QWidget* window) : messages(window) {}
    QtScheduler scheduler;
    ClockSeededDigitSource digits;
    MessageBoxes messages;
    DesktopUrlOpener browser;
    PlatformFileDialogs files;
};

MainWindow::MainWindow() : MainWindow(std::make_unique<RealServices>(this)) {}

MainWindow::MainWindow(std::unique_ptr<RealServices> real)
    : MainWindow(
          Services{real->scheduler, real->digits, real->messages, real->browser, real->files},
          std::move(real)) {}

MainWindow::MainWindow(const Services& services) : MainWindow(services, nullptr) {}

MainWindow::MainWindow(const Services& services, std::unique_ptr<RealServices>&& real)
    : real_(std::move(real)),
      services_(services),
      engine_(services_.scheduler, services_.digits, services_.messages) {
    createControls();
    bindEngine();
    createRecordActions();
}

MainWindow::~MainWindow() {
    delete chart_;  // before the statistics it draws
}

void MainWindow::createControls() {
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Corvinet—Velmora"_s);
    setFont(SongFont(7.5));
    setFixedSize(Twips(7725), Twips(8235));
    setMouseTracking(true);

    for (const Designed& d : kDesign) {
        QWidget* container =
            d.container.isEmpty() ? this : findChild<QWidget*>(d.container.toString());
        QWidget* control = Create(d, container);
        control->setObjectName(d.name.toString());
        control->setGeometry(
            TwipsRect(d.twips.x(), d.twips.y(), d.twips.width(), d.twips.height()));
        if (d.points > 0) {
            control->setFont(SongFont(d.points, d.bold));
        }
        if (d.colour != kDefaultColour) {
            SetForeColor(*control, d.colour);
        }
    }
    // The counter reads "<第 N 次>" on one line. Where the bold face comes out a pixel or two wider
    // than designed (Windows), "第" must not wrap onto a second line that the label cannot show.
    for (const QString& part : {u"Label2"_s, u"Label4"_s, u"Label3"_s}) {
        findChild<QLabel*>(part)->setWordWrap(false);
    }
    for (const Spoken& s : kSpoken) {
        QWidget* control = findChild<QWidget*>(s.control.toString());
        control->setAccessibleName(s.name.toString());
        control->setAccessibleDescription(s.description.toString());
    }
    // Qt leaves a widget that takes no focus out of setTabOrder(). The panes' places take their
    // designed place in the chain now, and the focus only once a page view is in them.
    const QList<QWidget*> places = findChildren<QWidget*>(QRegularExpression(u"^WebBrowser"_s));
    for (QWidget* place : places) {
        place->setFocusPolicy(Qt::TabFocus);
    }
    for (std::size_t i = 1; i < kTabOrder.size(); ++i) {
        setTabOrder(findChild<QWidget*>(kTabOrder[i - 1].toString()),
                    findChild<QWidget*>(kTabOrder[i].toString()));
    }
    for (QWidget* place : places) {
        place->setFocusPolicy(Qt::NoFocus);
    }

    for (std::size_t i = 0; i < 3; ++i) {
        reelBoxes_[i] = findChild<QLineEdit*>(u"Text"_s + QString::number(i + 1));
        targetBoxes_[i] = findChild<QLineEdit*>(u"Text"_s + QString::number(i + 5));
    }
    logBox_ = findChild<LogBox*>(u"Text4"_s);
    counter_ = findChild<QLabel*>(u"Label4"_s);
    downloadLink_ = findChild<LinkLabel*>(u"Label5"_s);
    downloadLink_->setMouseTracking(true);
    downloadLink_->setCursor(Qt::PointingHandCursor);
    manualDraw_ = findChild<QPushButton*>(u"Command1"_s);
    automaticDraw_ = findChild<QPushButton*>(u"Command11"_s);
    clearLog_ = findChild<QPushButton*>(u"ccp"_s);
    cancelSearch_ = findChild<QPushButton*>(u"Command13"_s);
    panes_ = std::make_unique<PaneHost>(*findChild<QWidget*>(u"WebBrowser1"_s),
                                        *findChild<QWidget*>(u"WebBrowser2"_s), services_.browser);
    reelBoxes_[0]->setFocus();
}

void MainWindow::bindEngine() {
    DrawMachine& machine = engine_.machine();
    AutomaticSearch& search = engine_.search();
    for (std::size_t i = 0; i < 3; ++i) {
        QLineEdit* box = reelBoxes_[i];
        const QString rolling = box->accessibleDescription();
        connect(&machine.reel(i), &Reel::textChanged, box, &QLineEdit::setText);
        connect(&machine.reel(i), &Reel::started, box, [box, rolling] {
            // Qt announces every description set, so only a real change is set.
            if (box->accessibleDescription() != rolling) {
                box->setAccessibleDescription(rolling);
            }
        });
        connect(&machine.reel(i), &Reel::stopped, box, [box](const QString& digit) {
            box->setAccessibleDescription(u"开出号码 "_s + digit);
        });
        connect(targetBoxes_[i], &QLineEdit::textChanged, this,
                [&search, i](const QString& text) { search.setTarget(i, text); });
    }
    DrawLog& log = machine.log();
    connect(&log, &DrawLog::counterChanged, counter_, [this](const QString& counter) {
        counter_->setText(counter);
        counter_->setAccessibleName(u"第 "_s + counter + u" 次"_s);
    });
    connect(&log, &DrawLog::recordAppended, logBox_, [this](const QString& record) {
        logBox_->appendText(record);
        logBox_->setAccessibleDescription(u"最新记录："_s + record.trimmed());
    });
    connect(&log, &DrawLog::cleared, logBox_, &LogBox::clear);
    connect(&log, &DrawLog::caretMovedToEnd, logBox_, &LogBox::moveCaretToEnd);
    connect(&machine, &DrawMachine::drawCompleted, this, [this](const DrawSlots& digits) {
        if (digits[0] && digits[1] && digits[2]) {
            stats_.add(Draw{{*digits[0], *digits[1], *digits[2]}});
        }
    });

    connect(&machine, &DrawMachine::manualDrawEnabledChanged, manualDraw_, &QWidget::setEnabled);
    connect(&machine, &DrawMachine::automaticDrawEnabledChanged, automaticDraw_,
            &QWidget::setEnabled);
    connect(&search, &AutomaticSearch::cancelEnabledChanged, cancelSearch_, &QWidget::setEnabled);
    cancelSearch_->setEnabled(search.cancelEnabled());

    connect(manualDraw_, &QPushButton::clicked, this, [this] { engine_.drawByHand(); });
    connect(automaticDraw_, &QPushButton::clicked, &search, &AutomaticSearch::start);
    connect(cancelSearch_, &QPushButton::clicked, &search, &AutomaticSearch::cancel);
    connect(clearLog_, &QPushButton::clicked, this, [this] { engine_.clearLog(); });

    for (const ExternalLink& link : ExternalLinks()) {
        if (auto* button = findChild<QPushButton*>(link.control.toString())) {
            connect(button, &QPushButton::clicked, this, [this, &link] { openLink(link.control); });
        }
    }
    connect(downloadLink_, &LinkLabel::clicked, this, [this] { openLink(u"Label5"); });
    connect(downloadLink_, &LinkLabel::hovered, this,
            [this] { SetForeColor(*downloadLink_, kBlue); });
}

void MainWindow::createRecordActions() {
    openChart_ = new QAction(u"走势图 (本次摇奖)"_s, this);
    openChart_->setObjectName(u"openChart"_s);
    // Ctrl+T for 走势 (trend): no box of the window types anything with Ctrl held, and Qt's text
    // boxes bind nothing to it, so it opens the chart from wherever the focus is.
    openChart_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(openChart_, &QAction::triggered, this, [this] { showChart(); });
    addAction(openChart_);
    copyRecord_ = new QAction(u"复制全部摇奖记录"_s, this);
    copyRecord_->setObjectName(u"copyRecord"_s);
    connect(copyRecord_, &QAction::triggered, this, &MainWindow::copyRecord);
    saveRecord_ = new QAction(u"保存全部摇奖记录 (CSV)…"_s, this);
    saveRecord_->setObjectName(u"saveRecord"_s);
    connect(saveRecord_, &QAction::triggered, this, &MainWindow::saveRecord);
    logBox_->setMenuActions({openChart_, copyRecord_, saveRecord_});
    savePicture_ = new QAction(u"保存走势图图片…"_s, this);
    savePicture_->setObjectName(u"savePicture"_s);
    savePicture_->setEnabled(false);  // until there is a draw to show
    connect(savePicture_, &QAction::triggered, this, &MainWindow::savePicture);
    connect(&stats_, &SessionStats::drawAdded, savePicture_,
            [this] { savePicture_->setEnabled(true); });
    saveFolder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(saveFolder_).isDir()) {
        saveFolder_ = QDir::homePath();
    }
}

TrendChartWindow& MainWindow::showChart() {
    if (chart_ == nullptr) {
        chart_ = new TrendChartWindow(stats_, {copyRecord_, saveRecord_, savePicture_}, this);
        // Closed, it gives its memory back; it is quick to make again.
        chart_->setAttribute(Qt::WA_DeleteOnClose);
        chart_->resize(chart_->sizeHint());
    }
    // Shown and nothing else: a draw under way goes on as it was.
    chart_->show();
    chart_->raise();
    chart_->activateWindow();
    return *chart_;
}

void MainWindow::copyRecord() {
    CopyTable(stats_, 0, stats_.size() - 1);
}

QString MainWindow::askSavePath(const QString& title, const QString& name, const QString& filter,
                                const QString& suffix) {
    QWidget* over = QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : this;
    const QString suggested =
        name + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmm"_s) + u'.' + suffix;
    return services_.files.saveFileName(
        over, {title, QDir(saveFolder_).filePath(suggested), filter, suffix});
}

void MainWindow::saved(const QString& path, const QString& what, const QString& error) {
    if (!error.isEmpty()) {
        services_.messages.show(u"无法保存"_s + what + u"：\n"_s + QDir::toNativeSeparators(path) +
                                    u"\n"_s + error +
                                    u"\n本次的摇奖记录仍完整保留，可以换个位置再保存。"_s,
                                u"保存失败"_s);
        return;
    }
    saveFolder_ = QFileInfo(path).absolutePath();
}

void MainWindow::saveRecord() {
    const QString path =
        askSavePath(u"保存全部摇奖记录"_s, u"3D摇奖记录-"_s, u"CSV 文件 (*.csv)"_s, u"csv"_s);
    if (!path.isEmpty()) {
        saved(path, u"摇奖记录"_s, stats_.saveCsv(path));
    }
}

void MainWindow::savePicture() {
    if (chart_ == nullptr) {
        return;
    }
    TrendChart& chart = chart_->chart();
    const qint64 total = stats_.size();
    const int most = static_cast<int>(std::min(total, TrendChart::kMostPictureRows));
    QString label = u"图片中包含最近几次摇奖（本次共 %1 次"_s.arg(total);
    if (total > most) {
        label += u"，一张图片最多 %1 次"_s.arg(most);
    }
    const int rows = services_.files.askNumber(chart_, u"保存走势图图片"_s, label + u"）："_s,
                                               std::min(30, most), most);
    if (rows <= 0) {
        return;
    }
    const QString path =
        askSavePath(u"保存走势图图片"_s, u"3D走势图-"_s, u"PNG 图片 (*.png)"_s, u"png"_s);
    if (path.isEmpty()) {
        return;
    }
    const QString caption =
        u"走势图 (本次摇奖) · %1 · 第%2–%3次 · %4\n"_s.arg(ChartViewTitle(chart.view()))
            .arg(total - rows + 1)
            .arg(total)
            .arg(QDateTime::currentDateTime().toString(u"yyyy年M月d日 HH:mm"_s)) +
        stats_.verdict();
    saved(path, u"走势图图片"_s, chart.savePicture(path, rows, chart.devicePixelRatioF(), caption));
}

void MainWindow::start() {
    panes_->NavigateLower(LowerPaneAddress());
    panes_->NavigateUpper(UpperPaneAddress());
}

void MainWindow::openLink(QStringView control) {
    const QString address = LinkAddress(control);
    // Failing to start a browser must not cost the user the draw log: say so and carry on.
    services_.browser.openAddress(address, [this, address](bool opened) {
        if (opened) {
            return;
        }
        services_.messages.show(
            u"无法打开网页：\n"_s + address + u"\n请检查系统的默认浏览器设置。"_s,
            u"打开网页失败"_s);
    });
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    // Moves that bubble up from a control do not count: only free window surface turns the link
    // label back to red.
    if (childAt(event->position().toPoint()) == nullptr) {
        SetForeColor(*downloadLink_, kRed);
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!firstFramePainted_) {
        firstFramePainted_ = true;
        // Queued so the first frame reaches the screen before the icon's vector renderer and the
        // web engine are loaded; neither is drawn in the window itself.
        QMetaObject::invokeMethod(
            this,
            [this] {
#ifdef VELMORA_WITH_SVG  // elsewhere (Windows) the icon is the program file's own
                setWindowIcon(QIcon(u":/velmora/velmora.svg"_s));
#endif
                if (services_.browserPanes) {
                    panes_->loadEngine();
                }
            },
            Qt::QueuedConnection);
    }
}

}  // namespace velmora
