#pragma once

#include "draw/drawmachine.h"

class QAbstractButton;
class QLineEdit;

namespace velmora {

class Messages;

// The manual draw command.
class ManualDraw {
public:
    ManualDraw(const DrawControls& controls, DrawMachine& machine, DrawLog& log);

    void Command1_Click();

private:
    DrawControls c_;
    DrawMachine& machine_;
    DrawLog& log_;
};

struct AutomaticDrawControls {
    QLineEdit& Text5;
    QLineEdit& Text6;
    QLineEdit& Text7;
    QAbstractButton& Command13;
    WindowTimer& Timer7;
};

// The automatic draw: a supervisor that draws every 10 s until the display equals the targets.
class AutomaticDraw {
public:
    AutomaticDraw(const DrawControls& draw, const AutomaticDrawControls& controls,
                  DrawMachine& machine, DrawLog& log, Messages& messages);

    void Command11_Click();
    void Command13_Click();

private:
    void Timer7_Timer();
    void GiveCommandsBack();

    DrawControls d_;
    AutomaticDrawControls c_;
    DrawMachine& machine_;
    DrawLog& log_;
    Messages& messages_;
    bool commandsAfterDraw_ = false;
};

}  // namespace velmora
