// Stand-in browser panes for the window tests: they note which place was sent to which address,
// in order, and load nothing.
#include "web/paneengine.h"

#include <QObject>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

namespace {

using namespace velmora;

class RecordingPane final : public Pane {
public:
    RecordingPane(QString place, QStringList& navigations)
        : place_(std::move(place)), navigations_(navigations) {}
    void navigate(const QString& address) override { navigations_ << place_ + u' ' + address; }

private:
    QString place_;
    QStringList& navigations_;
};

class RecordingSession final : public PaneSession {
public:
    explicit RecordingSession(QStringList& navigations) : navigations_(navigations) {}
    Pane& addPane(QWidget& place, PaneStyle) override {
        panes_.push_back(std::make_unique<RecordingPane>(place.objectName(), navigations_));
        return *panes_.back();
    }

private:
    QStringList& navigations_;
    std::vector<std::unique_ptr<RecordingPane>> panes_;
};

}  // namespace

class RecordingPaneEngine final : public QObject, public velmora::PaneEngine {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VelmoraPaneEngine_iid)
    Q_INTERFACES(velmora::PaneEngine)
    Q_PROPERTY(QStringList navigations MEMBER navigations_)

public:
    QString unavailableReason() const override { return {}; }
    std::unique_ptr<velmora::PaneSession> openSession(velmora::UrlOpener&) override {
        return std::make_unique<RecordingSession>(navigations_);
    }

private:
    QStringList navigations_;
};

#include "recordingpanes.moc"
