#include "web/webview2/webview2runtime.h"

#include <QRegularExpression>
#include <QVersionNumber>

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

constexpr int kOldestRuntime = 99;

struct Candidate {
    RuntimeChannel channel;
    QVersionNumber version;
    bool perUser;
    QString library;
};

}  // namespace

QStringList WebView2RuntimeCandidates(const QList<RuntimeEntry>& entries) {
    // A drive or a UNC share, then folders; the last one is the runtime's version.
    static const QRegularExpression kFolder(
        uR"(^(?:[A-Za-z]:|\\\\[^\\/]+\\[^\\/]+)(?:\\[^\\/:*?"<>|]+)*\\(\d{1,9}\.\d{1,9}\.\d{1,9}\.\d{1,9})$)"_s);
    QList<Candidate> found;
    for (const RuntimeEntry& entry : entries) {
        QString folder = entry.value.trimmed();
        if (folder.endsWith(u'\\')) {
            folder.chop(1);
        }
        const QRegularExpressionMatch match = kFolder.match(folder);
        if (!match.hasMatch() || folder.split(u'\\').contains(u".."_s)) {
            continue;
        }
        const QVersionNumber version = QVersionNumber::fromString(match.captured(1));
        if (version.majorVersion() < kOldestRuntime) {
            continue;
        }
        found.append({entry.channel, version, entry.perUser,
                      folder + u"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll"_s});
    }
    std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return std::tie(a.channel, b.version, a.perUser) <
               std::tie(b.channel, a.version, b.perUser);
    });
    QStringList libraries;
    for (const Candidate& candidate : found) {
        if (!libraries.contains(candidate.library, Qt::CaseInsensitive)) {
            libraries.append(candidate.library);
        }
    }
    return libraries;
}

}  // namespace velmora
