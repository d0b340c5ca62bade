#pragma once

#include "draw/drawchain.h"
#include "draw/drawlog.h"
#include "draw/drawslots.h"
#include "draw/reel.h"

#include <QObject>

#include <array>

namespace velmora {

class DigitSource;

// The drawing machine: three slots, the three reels that show them, the two chains that fill
// them (one for draws by hand, one for the automatic search), the log and the counter, and
// whether the two draw commands are open to the user.
class DrawMachine final : public QObject {
    Q_OBJECT
public:
    DrawMachine(Scheduler& scheduler, DigitSource& digits);

    const DrawSlots& slots() const { return slots_; }
    Reel& reel(std::size_t position) { return reels_[position]; }
    DrawLog& log() { return log_; }
    const DrawChain& automaticChain() const { return automaticChain_; }
    bool reelsRolling() const;

    bool manualDrawEnabled() const { return manualDrawEnabled_; }
    bool automaticDrawEnabled() const { return automaticDrawEnabled_; }
    void setManualDrawEnabled(bool enabled);
    void setAutomaticDrawEnabled(bool enabled);

    void clearDisplay();
    // Empties the slots and sets the reels and the chain's first step going.
    void startManualDraw() { startDraw(manualChain_); }
    void startAutomaticDraw() { startDraw(automaticChain_); }

Q_SIGNALS:
    void manualDrawEnabledChanged(bool enabled);
    void automaticDrawEnabledChanged(bool enabled);
    // After an automatic draw has logged its record.
    void automaticDrawCompleted();
    // Every draw, by hand or automatic, once its record is logged: the digits it drew.
    void drawCompleted(const velmora::DrawSlots& digits);

private:
    void startDraw(DrawChain& chain);

    DrawSlots slots_;
    DrawLog log_;
    std::array<Reel, 3> reels_;
    DrawChain manualChain_;
    DrawChain automaticChain_;
    bool manualDrawEnabled_ = true;
    bool automaticDrawEnabled_ = true;
};

}  // namespace velmora
