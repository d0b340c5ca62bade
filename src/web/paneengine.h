#pragma once

#include <QString>
#include <QtPlugin>

#include <memory>

class QWidget;

namespace velmora {

class UrlOpener;

// What the window asks of one pane of the web engine.
class Pane {
public:
    virtual void navigate(const QString& address) = 0;

protected:
    ~Pane() = default;
};

enum class PaneStyle {
    AsPublished,
    // Every top-level page is shown without scroll bars; frames keep theirs.
    WithoutScrollBars,
};

// The panes of one window. They share one profile that keeps nothing on disk; the session
// closes the panes that are still open before it lets the profile go.
class PaneSession {
public:
    virtual ~PaneSession() = default;
    // The view fills the place and takes its focus; the session owns the pane.
    virtual Pane& addPane(QWidget& place, PaneStyle style) = 0;
};

// The root object of the panes plugin.
class PaneEngine {
public:
    virtual ~PaneEngine() = default;
    // Empty when the engine can start in this process, otherwise the reason in plain words.
    virtual QString unavailableReason() const = 0;
    // Windows that pages ask for are handed to the opener instead.
    virtual std::unique_ptr<PaneSession> openSession(UrlOpener& opener) = 0;
};

}  // namespace velmora

#define VelmoraPaneEngine_iid "org.velmora.PaneEngine/1.0"
Q_DECLARE_INTERFACE(velmora::PaneEngine, VelmoraPaneEngine_iid)
