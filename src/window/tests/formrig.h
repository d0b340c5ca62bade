#pragma once

#include "drawrig.h"
#include "recordingmessages.h"
#include "web/links.h"
#include "window/form1.h"

#include <QStringList>

namespace velmora::test {

class RecordingBrowser final : public UrlOpener {
public:
    QStringList opened;
    bool works = true;
    bool openAddress(const QString& address) override {
        opened << address;
        return works;
    }
};

// The main window with the outside world replaced: virtual clock, scripted digits, recorded
// message boxes and browser, no web engine.
struct FormRig {
    VirtualClock clock;
    ScriptedDigits digits;
    RecordingMessages messages;
    RecordingBrowser browser;
    Form1 form{Form1Services{clock, digits, messages, browser, false}};

    explicit FormRig(bool load = true) {
        if (load) {
            form.Load();
        }
    }
};

}  // namespace velmora::test
