#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

namespace velmora {

// The web engine takes some of its settings from the environment, which its threads read while
// they run. They are set once, before the engine starts, and stay; the programs this one starts
// (the user's browser among them) get the environment the program was started with.
void SetEngineVariable(const char* name, const QByteArray& value);
QProcessEnvironment BrowserEnvironment();

}  // namespace velmora
