// How a click becomes a log record: a click handler (ManualDraw, AutomaticDraw) resets the draw
// slots and enables window timers; the scheduler then ticks them on this thread. The reel timers
// (Timer1-3) count the display boxes up every 50 ms, each chain step (Timer4-6 by hand, Timer9,
// Timer10, Timer8 automatically) draws one digit, disables itself and enables the next, and the
// last step appends the record to Text4 through DrawLog. The supervisor Timer7 starts one
// automatic chain per tick until the display equals the targets.
#include "window/form1.h"

#include "control/draws.h"
#include "control/messages.h"
#include "draw/digitsource.h"
#include "draw/logbox.h"
#include "draw/qtscheduler.h"
#include "web/links.h"
#include "web/panehost.h"
#include "window/look.h"
#include "window/picture.h"

#include <QAccessible>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

namespace velmora {

using namespace Qt::StringLiterals;

struct Form1::RealServices {
    QtScheduler scheduler;
    ClockSeededDigitSource digits;
    QMessageBoxMessages messages;
    DesktopUrlOpener browser;
};

namespace {

const QString kHelpText =
    u"    我们提供一种预测方法，首先要知道上期开奖结果，而且要按出球顺序填在\"上期开奖结果自动摇号\"下边的三个格子内，然后点击自动摇奖，等待数秒后开始自动摇奖（记得千万不要用变速齿轮，因为程序会跟不上，造成摇不出来全部的号）,上边一行摇出来跟下边上次摇奖的结果一样的话，程序会停，然后你可以手动跟几注，模拟上期开奖后的摇奖结果几率，试试手气！当然也可以直接手动摇几注！"_s;

template <typename W>
W* Place(QWidget* container, const QString& name, QRect twipsRect) {
    auto* widget = new W(container);
    widget->setObjectName(name);
    widget->setGeometry(twipsRect);
    return widget;
}

QPushButton* Button(QWidget* container, const QString& name, QRect rect, const QString& caption,
                    qreal points) {
    auto* button = Place<QPushButton>(container, name, rect);
    button->setText(caption);
    button->setFont(SongFont(points));
    return button;
}

QLineEdit* TextBox(QWidget* container, const QString& name, QRect rect, qreal points, bool readOnly,
                   int maxLength) {
    auto* box = Place<QLineEdit>(container, name, rect);
    box->setFont(SongFont(points));
    box->setReadOnly(readOnly);
    box->setMaxLength(maxLength);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return box;
}

template <typename L = QLabel>
L* Label(QWidget* container, const QString& name, QRect rect, const QString& caption, qreal points,
         bool bold, unsigned int colour) {
    auto* label = Place<L>(container, name, rect);
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setFont(SongFont(points, bold));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    label->setMargin(0);
    label->setIndent(0);
    SetForeColor(*label, colour);
    return label;
}

QGroupBox* Frame(QWidget* container, const QString& name, QRect rect, const QString& caption,
                 qreal points) {
    auto* frame = Place<QGroupBox>(container, name, rect);
    frame->setTitle(caption);
    frame->setFont(SongFont(points));
    return frame;
}

void Describe(QWidget* widget, const QString& name, const QString& description) {
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

}  // namespace

void LinkLabel::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT MouseMove();
    event->accept();
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        Q_EMIT Click();
    }
}

Form1::Form1() : Form1(std::make_unique<RealServices>()) {}

Form1::Form1(std::unique_ptr<RealServices> real)
    : Form1(Form1Services{real->scheduler, real->digits, real->messages, real->browser},
            std::move(real)) {
    real_->messages.setParentWidget(this);
}

Form1::Form1(const Form1Services& services) : Form1(services, nullptr) {}

Form1::Form1(const Form1Services& services, std::unique_ptr<RealServices>&& real)
    : real_(std::move(real)),
      services_(services),
      Timer1(services_.scheduler, u"Timer1"_s),
      Timer2(services_.scheduler, u"Timer2"_s),
      Timer3(services_.scheduler, u"Timer3"_s),
      Timer4(services_.scheduler, u"Timer4"_s),
      Timer5(services_.scheduler, u"Timer5"_s),
      Timer6(services_.scheduler, u"Timer6"_s),
      Timer7(services_.scheduler, u"Timer7"_s),
      Timer8(services_.scheduler, u"Timer8"_s),
      Timer9(services_.scheduler, u"Timer9"_s),
      Timer10(services_.scheduler, u"Timer10"_s) {
    CreateControls();
    WireHandlers();
}

Form1::~Form1() = default;

void Form1::CreateControls() {
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Corvinet—Velmora"_s);
    setWindowIcon(QIcon(u":/velmora/velmora.svg"_s));
    setFont(SongFont(7.5));
    setFixedSize(Twips(7725), Twips(8235));
    setMouseTracking(true);

    // Labels first: the text boxes below the headings are drawn over them where they meet.
    Label2 = Label(this, u"Label2"_s, TwipsRect(5280, 120, 495, 375), u"<第"_s, 15.75, true, kBlue);
    Label4 = Label(this, u"Label4"_s, TwipsRect(5880, 120, 855, 375), u"0"_s, 15.75, true, kBlue);
    Label3 = Label(this, u"Label3"_s, TwipsRect(6840, 120, 615, 375), u"次>"_s, 15.75, true, kBlue);
    Label7 =
        Label(this, u"Label7"_s, TwipsRect(2520, 600, 1815, 255), u"本次摇奖："_s, 9, false, kRed);
    Label9 =
        Label(this, u"Label9"_s, TwipsRect(5160, 600, 2415, 255), u"开奖记录："_s, 9, false, kRed);
    Label8 = Label(this, u"Label8"_s, TwipsRect(2520, 1920, 2415, 255),
                   u"填写上期开奖结果自动摇号："_s, 9, false, kRed);
    Label5 = Label<LinkLabel>(this, u"Label5"_s, TwipsRect(120, 7080, 2415, 255),
                              u">>>> Corvinet工具下载"_s, 9, false, kRed);
    Label5->setMouseTracking(true);
    Label5->setCursor(Qt::PointingHandCursor);

    Image1 = new Picture(u":/velmora/knot.svg"_s, this);
    Image1->setObjectName(u"Image1"_s);
    Image1->setGeometry(TwipsRect(120, 120, 315, 435));

    WebBrowser1 = Place<QWidget>(this, u"WebBrowser1"_s, TwipsRect(600, 120, 4455, 375));
    WebBrowser2 = Place<QWidget>(this, u"WebBrowser2"_s, TwipsRect(120, 7440, 4935, 615));

    Text1 = TextBox(this, u"Text1"_s, TwipsRect(2520, 840, 615, 855), 36, true, 32767);
    Text2 = TextBox(this, u"Text2"_s, TwipsRect(3480, 840, 615, 855), 36, true, 32767);
    Text3 = TextBox(this, u"Text3"_s, TwipsRect(4440, 840, 600, 855), 36, true, 32767);
    Text5 = TextBox(this, u"Text5"_s, TwipsRect(2520, 2160, 615, 495), 26.25, false, 1);
    Text6 = TextBox(this, u"Text6"_s, TwipsRect(3480, 2160, 615, 495), 26.25, false, 1);
    Text7 = TextBox(this, u"Text7"_s, TwipsRect(4440, 2160, 615, 495), 26.25, false, 1);

    Text4 = Place<LogBox>(this, u"Text4"_s, TwipsRect(5160, 840, 2340, 7215));
    Text4->setFont(SongFont(10.5));
    Text4->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text4->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text4->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Text4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text4->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text4->setFocusPolicy(Qt::StrongFocus);
    SetForeColor(*Text4, kBlue);
    // The log is never typed into; its typing limit lies above the length at which draws empty it.
    Text4->setProperty("maxLength", 60000);

    Command1 = Button(this, u"Command1"_s, TwipsRect(2520, 2760, 1215, 375), u"手动摇奖"_s, 9);
    Command11 = Button(this, u"Command11"_s, TwipsRect(3840, 2760, 1215, 375), u"自动摇奖"_s, 9);
    ccp = Button(this, u"ccp"_s, TwipsRect(2520, 3240, 1215, 375), u"清空记录"_s, 9);
    Command13 = Button(this, u"Command13"_s, TwipsRect(3840, 3240, 1215, 375), u"取消自动"_s, 9);

    Frame1 = Frame(this, u"Frame1"_s, TwipsRect(120, 720, 2295, 6255), u"相关查询"_s, 10.5);
    Command2 =
        Button(Frame1, u"Command2"_s, TwipsRect(240, 360, 1815, 375), u"全国彩票查询"_s, 10.5);
    Command3 = Button(Frame1, u"Command3"_s, TwipsRect(240, 960, 1815, 375), u"3D基本走势"_s, 10.5);
    Command4 =
        Button(Frame1, u"Command4"_s, TwipsRect(240, 1560, 1815, 375), u"质合号码分布"_s, 10.5);
    Command5 = Button(Frame1, u"Command5"_s, TwipsRect(240, 2160, 1815, 375),
                      u"除3余数走势1 \r\n"_s, 10.5);
    Command6 =
        Button(Frame1, u"Command6"_s, TwipsRect(240, 2760, 1815, 375), u"3D历史开奖详情"_s, 10.5);
    Command7 =
        Button(Frame1, u"Command7"_s, TwipsRect(240, 3360, 1815, 375), u"3D跨度遗漏"_s, 10.5);
    Command8 =
        Button(Frame1, u"Command8"_s, TwipsRect(240, 3960, 1815, 375), u"3D AC值折线图"_s, 10.5);
    Command9 =
        Button(Frame1, u"Command9"_s, TwipsRect(240, 4560, 1815, 375), u"奇偶形态分布"_s, 10.5);
    Command10 =
        Button(Frame1, u"Command10"_s, TwipsRect(240, 5160, 1815, 375), u"3D组三 六码遗漏"_s, 10.5);

    Frame2 =
        Frame(this, u"Frame2"_s, TwipsRect(2520, 3840, 2535, 3135), u"2010年12月25日改版"_s, 9);
    SetForeColor(*Frame2, kRed);
    Label1 =
        Label(Frame2, u"Label1"_s, TwipsRect(120, 240, 2295, 2775), kHelpText, 9, false, kBlue);

    Describe(Text1, u"第一位号码"_s, u"本次摇奖的第一位号码，摇奖时滚动，开出后停在该号码上"_s);
    Describe(Text2, u"第二位号码"_s, u"本次摇奖的第二位号码，摇奖时滚动，开出后停在该号码上"_s);
    Describe(Text3, u"第三位号码"_s, u"本次摇奖的第三位号码，摇奖时滚动，开出后停在该号码上"_s);
    Describe(Text5, u"上期开奖第一位"_s, u"填写上期开奖结果的第一个球，一个字符"_s);
    Describe(Text6, u"上期开奖第二位"_s, u"填写上期开奖结果的第二个球，一个字符"_s);
    Describe(Text7, u"上期开奖第三位"_s, u"填写上期开奖结果的第三个球，一个字符"_s);
    Describe(Text4, u"开奖记录"_s, u"每次摇奖的结果，最新的在最后"_s);
    Describe(Label4, u"摇奖次数"_s, u"自程序启动以来开始的摇奖次数"_s);
    Describe(Image1, u"中国结"_s, u"红色中国结装饰图案"_s);
    Describe(Label5, u"Corvinet工具下载"_s, u"在浏览器中打开工具下载页面"_s);
    Describe(WebBrowser1, u"网页窗格（上）"_s, QString());
    Describe(WebBrowser2, u"网页窗格（下）"_s, QString());

    SetTabOrder();
    Text1->setFocus();
}

void Form1::SetTabOrder() {
    QWidget* const order[] = {Text1,     Text2,     Text3,       Command1,   Text4,    Command2,
                              Command3,  Command4,  Command5,    Command6,   Command7, Command8,
                              Command9,  Command10, WebBrowser1, Text5,      Text6,    Text7,
                              Command11, ccp,       Command13,   WebBrowser2};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void Form1::WireHandlers() {
    const DrawControls draw{*Text1,     *Text2, *Text3, *Text4, *Label4, *Command1,
                            *Command11, Timer1, Timer2, Timer3, Timer4,  Timer5,
                            Timer6,     Timer8, Timer9, Timer10};
    log_ = std::make_unique<DrawLog>(*Text4, *Label4, Module1_);
    machine_ = std::make_unique<DrawMachine>(draw, Module1_, *log_, services_.digits);
    manual_ = std::make_unique<ManualDraw>(draw, *machine_, *log_);
    automatic_ = std::make_unique<AutomaticDraw>(
        draw, AutomaticDrawControls{*Text5, *Text6, *Text7, *Command13, Timer7}, *machine_, *log_,
        services_.messages);
    panes_ = std::make_unique<PaneHost>(*WebBrowser1, *WebBrowser2, services_.browser);

    connect(Command1, &QPushButton::clicked, this, [this] { manual_->Command1_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { automatic_->Command11_Click(); });
    connect(Command13, &QPushButton::clicked, this, [this] { automatic_->Command13_Click(); });
    connect(ccp, &QPushButton::clicked, this, [this] { log_->Clear(); });
    for (const ExternalLink& link : ExternalLinks()) {
        const QString name = link.control.toString();
        if (auto* button = findChild<QPushButton*>(name)) {
            connect(button, &QPushButton::clicked, this, [this, name] { OpenLink(name); });
        }
    }
    connect(Label5, &LinkLabel::Click, this, [this] { OpenLink(u"Label5"); });
    connect(Label5, &LinkLabel::MouseMove, this, [this] { SetForeColor(*Label5, kBlue); });
}

void Form1::Load() {
    panes_->NavigateLower(LowerPaneAddress());
    Command13->setEnabled(false);
    panes_->NavigateUpper(UpperPaneAddress());
    for (WindowTimer* timer : {&Timer8, &Timer9, &Timer10}) {
        timer->setInterval(3000);
        timer->setEnabled(false);
    }
    for (WindowTimer* timer : {&Timer1, &Timer2, &Timer3}) {
        timer->setInterval(50);
        timer->setEnabled(false);
    }
    for (WindowTimer* timer : {&Timer4, &Timer5, &Timer6}) {
        timer->setInterval(3000);
        timer->setEnabled(false);
    }
    Timer7.setInterval(10000);
    Timer7.setEnabled(false);
}

void Form1::OpenLink(QStringView control) {
    const QString address = LinkAddress(control);
    if (!services_.browser.openAddress(address)) {
        // Failing to start a browser must not cost the user the draw log: say so and carry on.
        services_.messages.show(
            u"无法打开网页：\n"_s + address + u"\n请检查系统的默认浏览器设置。"_s,
            u"打开网页失败"_s);
    }
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    // Moves that bubble up from a control do not count: only free window surface turns the link
    // label back to red.
    if (childAt(event->position().toPoint()) == nullptr) {
        SetForeColor(*Label5, kRed);
    }
    QWidget::mouseMoveEvent(event);
}

void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!firstFramePainted_ && services_.browserPanes) {
        firstFramePainted_ = true;
        // Queued so the first frame reaches the screen before the web engine is loaded.
        QMetaObject::invokeMethod(
            panes_.get(), [this] { panes_->loadEngine(); }, Qt::QueuedConnection);
    }
}

}  // namespace velmora
