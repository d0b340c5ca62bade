#include "web/links.h"

#include "web/browserenvironment.h"

#include <QDesktopServices>
#include <QObject>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <array>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

constexpr std::array kLinks{
    ExternalLink{u"Command2", Site::Vendor, u"/bgxz/html/?65.html"},
    ExternalLink{u"Command3", Site::Chart, u"/datachart/3d_jibenzoushitu.html"},
    ExternalLink{u"Command4", Site::Chart, u"/datachart/3d_zhihezoushitu.html"},
    ExternalLink{u"Command5", Site::Chart, u"/datachart/3d_chu3yushuzoushi1tu.html"},
    ExternalLink{u"Command6", Site::Chart, u"/datachart/3d_history_kjxi.html"},
    ExternalLink{u"Command7", Site::Chart, u"/datachart/3d_kuaduyiloutu.html"},
    ExternalLink{u"Command8", Site::Chart, u"/datachart/3d_kline_acz.html"},
    ExternalLink{u"Command9", Site::Chart, u"/datachart/3d_jiouzoushitu.html"},
    ExternalLink{u"Command10", Site::Chart, u"/datachart/3d_zx34yiloutu.html"},
    ExternalLink{u"Label5", Site::Vendor, u"/bgxz/class/"},
};

QString SiteAddress(Site site) {
    return site == Site::Vendor ? VendorSite() : ChartSite();
}

}  // namespace

QString VendorSite() {
    return QStringLiteral(VELMORA_VENDOR_SITE);
}

QString ChartSite() {
    return QStringLiteral(VELMORA_CHART_SITE);
}

std::span<const ExternalLink> ExternalLinks() {
    return kLinks;
}

QString LinkAddress(QStringView control) {
    for (const ExternalLink& link : kLinks) {
        if (link.control == control) {
            return SiteAddress(link.site) + link.path.toString();
        }
    }
    return {};
}

QString UpperPaneAddress() {
    return VendorSite() + QStringLiteral("/page/rjtqyb/index.php");
}

QString LowerPaneAddress() {
    return VendorSite() + QStringLiteral("/彩票/福彩3D.htm");
}

DesktopUrlOpener::DesktopUrlOpener(PatienceTimer patience)
    : patience_(
          patience
              ? std::move(patience)
              : [](QObject& context,
                   std::function<void()>
                       expired) { QTimer::singleShot(kPatience, &context, std::move(expired)); }),
      pending_(std::make_unique<QObject>()) {}

DesktopUrlOpener::~DesktopUrlOpener() = default;

void DesktopUrlOpener::openAddress(const QString& address,
                                   std::function<void(bool opened)> answer) {
#ifdef Q_OS_WIN
    // The shell answers at once whether a program took the address.
    const bool opened = QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
    if (answer) {
        answer(opened);
    }
#else
    // Qt's own call reports success as soon as xdg-open has started; only xdg-open's exit status
    // says whether a browser took the address. Its complaints are not the user's terminal's.
    auto* process = new QProcess;
    process->setProgram(u"xdg-open"_s);
    process->setArguments({address});
    process->setProcessEnvironment(BrowserEnvironment());
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // The first of the exit, a failure to start and the patience running out answers.
    auto report =
        [answer = std::make_shared<std::function<void(bool)> >(std::move(answer))](bool opened) {
            if (*answer) {
                std::exchange(*answer, {})(opened);
            }
        };
    QObject::connect(process, &QProcess::finished, pending_.get(),
                     [report](int code, QProcess::ExitStatus status) {
                         report(status == QProcess::NormalExit && code == 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, pending_.get(),
                     [report](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             report(false);
                         }
                     });
    patience_(*pending_, [report] { report(true); });
    // Not a child of the opener: a browser that xdg-open waits for outlives the window.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             process->deleteLater();
                         }
                     });
    process->start();
#endif
}

}  // namespace velmora
