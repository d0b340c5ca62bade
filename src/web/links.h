#pragma once

#include <QString>
#include <QStringView>

#include <span>

namespace velmora {

// Base addresses (scheme and host, no trailing slash), fixed when the program is built.
QString VendorSite();
QString ChartSite();

enum class Site { Vendor, Chart };

struct ExternalLink {
    QStringView control;
    Site site;
    QStringView path;
};

// The controls that open a page in the user's browser, top to bottom as they stand.
std::span<const ExternalLink> ExternalLinks();

// The full address a control opens, or an empty text for a control that opens none.
QString LinkAddress(QStringView control);

// Start pages of the two browser panes.
QString UpperPaneAddress();
QString LowerPaneAddress();

// Hands an address to the user's web browser without waiting for it.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // False when no browser could be started.
    virtual bool openAddress(const QString& address) = 0;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    bool openAddress(const QString& address) override;
};

}  // namespace velmora
