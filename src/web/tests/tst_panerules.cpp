#include "web/panerecovery.h"
#include "web/webengine/sandbox.h"
#include "web/webview2/webview2runtime.h"

#include <QTest>

using namespace Qt::StringLiterals;
using velmora::RuntimeChannel;
using velmora::RuntimeEntry;

namespace {

using Entries = QList<RuntimeEntry>;
const QString kMachine = u"C:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application\\"_s;
const QString kUser = u"C:\\Users\\a\\AppData\\Local\\Microsoft\\EdgeWebView\\Application\\"_s;

}  // namespace

class TestPaneRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runtimeCandidates_data() {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QStringList>("folders");  // of the libraries to try, best first
        const auto stable = RuntimeChannel::Stable;
        QTest::newRow("none") << Entries{} << QStringList{};
        QTest::newRow("trailing backslash and blanks kept out")
            << Entries{{stable, true, u" "_s + kUser + u"99.1.2.3\\ "_s}}
            << QStringList{kUser + u"99.1.2.3"_s};
        QTest::newRow("stable before a newer beta")
            << Entries{{RuntimeChannel::Beta, false, kMachine + u"130.0.0.1"_s},
                       {RuntimeChannel::Canary, false, kMachine + u"140.0.0.1"_s},
                       {stable, true, kUser + u"120.0.0.1"_s}}
            << QStringList{kUser + u"120.0.0.1"_s, kMachine + u"130.0.0.1"_s,
                           kMachine + u"140.0.0.1"_s};
        // Compared as numbers, 99 would win as text.
        QTest::newRow("newer version first, not by text")
            << Entries{{stable, false, kMachine + u"99.0.0.0"_s},
                       {stable, true, kUser + u"120.0.0.0"_s}}
            << QStringList{kUser + u"120.0.0.0"_s, kMachine + u"99.0.0.0"_s};
        QTest::newRow("same version: per machine first, once")
            << Entries{{stable, true, kUser + u"120.0.0.0"_s},
                       {stable, false, kMachine + u"120.0.0.0"_s},
                       {stable, false, kMachine.toLower() + u"120.0.0.0"_s}}
            << QStringList{kMachine + u"120.0.0.0"_s, kUser + u"120.0.0.0"_s};
        QTest::newRow("older than 99 passed over")
            << Entries{{stable, false, kMachine + u"98.0.1108.62"_s},
                       {RuntimeChannel::Beta, true, kUser + u"99.0.1150.2"_s}}
            << QStringList{kUser + u"99.0.1150.2"_s};
        QTest::newRow("share") << Entries{{stable, false, u"\\\\host\\wv\\120.1.2.3"_s}}
                               << QStringList{u"\\\\host\\wv\\120.1.2.3"_s};
        for (const QString& bad :
             {QString(), u"120.0.0.0"_s, u"Application\\120.0.0.0"_s, kMachine,
              kMachine + u"120.0.0"_s, kMachine + u"120.0.0.0.1"_s, kMachine + u"latest"_s,
              kMachine + u"..\\120.0.0.0"_s, kMachine + u"120.0.0.0\\x64"_s}) {
            QTest::addRow("bad value '%s'", qPrintable(bad))
                << Entries{{stable, false, bad}} << QStringList{};
        }
    }

    void runtimeCandidates() {
        QFETCH(Entries, entries);
        QFETCH(QStringList, folders);
        for (QString& folder : folders) {
            folder += u"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll"_s;
        }
        QCOMPARE(velmora::WebView2RuntimeCandidates(entries), folders);
    }

    // Crashes ('c') until the last try, the page up long enough ('h'), then a normal exit ('n'),
    // which is no try, and crashes again: the waits answered for the ends, -1 for none.
    void recovery() {
        velmora::PaneRecovery recovery;
        QList<int> seen;
        for (const QChar step : u"ccccchncc"_s) {
            if (step == u'h') {
                recovery.healed();
            } else {
                const auto wait = recovery.ended(step == u'n');
                seen.append(wait ? static_cast<int>(wait->count()) : -1);
            }
        }
        QCOMPARE(seen, (QList<int>{0, 1000, 4000, -1, -1, -1, 0, 1000}));
    }

    // Whether the engine must not start, for a user and one variable in the environment.
    void sandboxStopsEngine() {
        const auto stops = [](unsigned user, const QString& name, const QString& value) {
            QProcessEnvironment environment;
            environment.insert(name, value);
            return velmora::SandboxStopsEngine(user, environment);
        };
        const QString flags = u"QTWEBENGINE_CHROMIUM_FLAGS"_s;
        QVERIFY(!stops(1000, flags, u"--disable-gpu"_s));                 // a normal user
        QVERIFY(stops(0, flags, u"--disable-gpu --no-sandboxing"_s));     // root, sandbox on
        QVERIFY(!stops(0, u"QTWEBENGINE_DISABLE_SANDBOX"_s, QString()));  // off by variable
        QVERIFY(!stops(0, flags, u"--disable-gpu --no-sandbox"_s));       // off by flag
    }
};

QTEST_GUILESS_MAIN(TestPaneRules)
#include "tst_panerules.moc"
