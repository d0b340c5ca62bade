#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velmora {

// Qt WebEngine ends the whole process when it starts as root with its sandbox on. Whether the
// sandbox may be turned off is the user's decision, never the program's: this tells only whether
// the engine must not be started.
inline bool SandboxStopsEngine(unsigned effectiveUserId, const QProcessEnvironment& environment) {
    if (effectiveUserId != 0 ||
        environment.contains(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"))) {
        return false;
    }
    return !environment.value(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"))
                .split(u' ', Qt::SkipEmptyParts)
                .contains(QStringLiteral("--no-sandbox"));
}

inline QString SandboxStopsEngineReason() {
    return QStringLiteral("Qt WebEngine does not run as root with its sandbox on");
}

}  // namespace velmora
