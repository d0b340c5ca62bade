#include "web/links.h"

#include <QDesktopServices>
#include <QUrl>

#include <array>

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

bool DesktopUrlOpener::openAddress(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

}  // namespace velmora
