#pragma once

#include "draw/drawmachine.h"
#include "draw/windowtimer.h"

#include <QObject>
#include <QString>

#include <array>

namespace velmora {

class DigitSource;
class Messages;

// Draws every 10 s until the digits on display equal the targets the user typed: the previous
// official result, one position per box, compared by numeric value.
class AutomaticSearch final : public QObject {
    Q_OBJECT
public:
    static constexpr int kInterval = 10000;

    AutomaticSearch(Scheduler& scheduler, DrawMachine& machine, Messages& messages);

    void setTarget(std::size_t position, const QString& text) { targets_[position] = text; }
    void start();
    void cancel();

    bool isSearching() const { return supervisor_.isEnabled(); }
    bool cancelEnabled() const { return cancelEnabled_; }
    WindowTimer& supervisor() { return supervisor_; }

Q_SIGNALS:
    void cancelEnabledChanged(bool enabled);

private:
    void supervise();
    bool displayMatchesTargets() const;
    void setCancelEnabled(bool enabled);
    void giveDrawCommandsBack();

    DrawMachine& machine_;
    Messages& messages_;
    WindowTimer supervisor_;
    std::array<QString, 3> targets_;
    bool cancelEnabled_ = false;
    bool commandsBackAfterDraw_ = false;
};

// The whole draw engine and the user's commands to it; the window mirrors its state.
class DrawEngine final {
public:
    DrawEngine(Scheduler& scheduler, DigitSource& digits, Messages& messages);

    DrawMachine& machine() { return machine_; }
    AutomaticSearch& search() { return search_; }

    void drawByHand();
    void clearLog() { machine_.log().Clear(); }

private:
    DrawMachine machine_;
    AutomaticSearch search_;
};

}  // namespace velmora
