#pragma once

#include <QString>
#include <QStringView>

#include <chrono>
#include <functional>
#include <memory>
#include <span>

class QObject;

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
    // Returns at once. `answer`, if given, runs later on this thread with whether a browser took
    // the address, and never once the opener is gone.
    virtual void openAddress(const QString& address, std::function<void(bool opened)> answer) = 0;
};

class DesktopUrlOpener final : public UrlOpener {
public:
    // Without a desktop, xdg-open runs the browser itself and answers only when it exits; silence
    // this long means a browser has the page.
    static constexpr std::chrono::seconds kPatience{5};
    // Runs `expired` once kPatience has passed, unless `context` is gone by then. The program's
    // runs on a QTimer; tests run it when they choose.
    using PatienceTimer = std::function<void(QObject& context, std::function<void()> expired)>;

    explicit DesktopUrlOpener(PatienceTimer patience = {});
    ~DesktopUrlOpener() override;
    DesktopUrlOpener(const DesktopUrlOpener&) = delete;
    DesktopUrlOpener& operator=(const DesktopUrlOpener&) = delete;

    void openAddress(const QString& address, std::function<void(bool opened)> answer) override;

private:
    PatienceTimer patience_;
    // Answers still to come are dropped with it.
    std::unique_ptr<QObject> pending_;
};

}  // namespace velmora
