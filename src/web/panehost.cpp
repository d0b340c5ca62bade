#include "web/panehost.h"

#include <QWidget>

#include <utility>
#include <vector>

namespace velmora {

struct PaneHost::Impl {
    QWidget& upper;
    QWidget& lower;
    UrlOpener& opener;
    std::vector<std::pair<QWidget*, QString>> requests;
};

PaneHost::PaneHost(QWidget& upperPlace, QWidget& lowerPlace, UrlOpener& opener, QObject* parent)
    : QObject(parent), d_(new Impl{upperPlace, lowerPlace, opener, {}}) {}

PaneHost::~PaneHost() {
    delete d_;
}

void PaneHost::NavigateUpper(const QString& address) {
    d_->requests.emplace_back(&d_->upper, address);
}

void PaneHost::NavigateLower(const QString& address) {
    d_->requests.emplace_back(&d_->lower, address);
}

void PaneHost::loadEngine() {}

bool PaneHost::enginePresent() const {
    return false;
}

}  // namespace velmora
