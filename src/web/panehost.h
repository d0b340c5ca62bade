#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace velmora {

class UrlOpener;

// The two browser panes as the window sees them: places in the layout and navigation requests.
// The web engine is large, so it is loaded only after the window's first frame; requests made
// before then are kept and replayed in their order.
class PaneHost : public QObject {
public:
    PaneHost(QWidget& upperPlace, QWidget& lowerPlace, UrlOpener& opener,
             QObject* parent = nullptr);
    ~PaneHost() override;

    PaneHost(const PaneHost&) = delete;
    PaneHost& operator=(const PaneHost&) = delete;

    void NavigateUpper(const QString& address);
    void NavigateLower(const QString& address);

    // The engine plugin's file; by default the one installed (or built) with the program.
    void setEnginePath(const QString& path);
    QString enginePath() const;

    // Loads the web engine and creates the panes; harmless to call more than once. Without the
    // engine the places stay empty, one line on standard error says why, and the program goes on.
    void loadEngine();
    bool enginePresent() const;

private:
    struct Impl;
    Impl* d_;
};

}  // namespace velmora
