// Stand-in browser panes for the window tests: they note which place was sent to which address,
// in order, and load nothing. Like a real view, each fills its place, here with a flat colour, so
// that the window's pictures show where the places are.
#include "web/paneengine.h"

#include <QObject>
#include <QPalette>
#include <QStringList>
#include <QWidget>

#include <list>

class RecordingPanes final : public QObject, public velmora::PaneEngine {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VelmoraPaneEngine_iid)
    Q_INTERFACES(velmora::PaneEngine)
    Q_PROPERTY(QStringList navigations MEMBER navigations_)

    struct Pane final : velmora::Pane {
        Pane(QString place, QStringList& log) : place(std::move(place)), log(log) {}
        void navigate(const QString& address) override { log << place + u' ' + address; }
        QString place;
        QStringList& log;
    };
    struct Session final : velmora::PaneSession {
        explicit Session(QStringList& log) : log(log) {}
        velmora::Pane& addPane(QWidget& place, velmora::PaneStyle) override {
            auto* view = new QWidget(&place);
            view->setGeometry(place.rect());
            view->setAutoFillBackground(true);
            view->setPalette(QPalette(QColor(0x9C, 0xC8, 0xE8)));
            view->show();
            return panes.emplace_back(place.objectName(), log);
        }
        QStringList& log;
        std::list<Pane> panes;
    };

public:
    QString unavailableReason() const override { return {}; }
    std::unique_ptr<velmora::PaneSession> openSession(velmora::UrlOpener&) override {
        return std::make_unique<Session>(navigations_);
    }

private:
    QStringList navigations_;
};

#include "recordingpanes.moc"
