#pragma once

#include <QList>
#include <QString>

namespace velmora {

// The Edge WebView2 runtime's channels, most stable first.
enum class RuntimeChannel { Stable, Beta, Dev, Canary };

// One "EBWebView" value from EdgeUpdate's ClientState key of a channel.
struct RuntimeEntry {
    RuntimeChannel channel;
    bool perUser;  // read from HKEY_CURRENT_USER, not HKEY_LOCAL_MACHINE
    QString value;
};

// The runtime libraries to try, best first: the most stable channel first, within a channel the
// newest version, a per-machine install before a per-user one of the same version. A value that
// is no absolute folder ending in a four-part version names no runtime. Runtimes before 99 are
// passed over: started as the program starts them, without Microsoft's loader, some crash.
QStringList WebView2RuntimeCandidates(const QList<RuntimeEntry>& entries);

}  // namespace velmora
