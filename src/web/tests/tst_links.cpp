#include "web/browserenvironment.h"
#include "web/links.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <optional>

#include <unistd.h>

using namespace Qt::StringLiterals;

// The real opener, with a stand-in xdg-open on PATH.
class TestLinks : public QObject {
    Q_OBJECT

    QTemporaryDir bin_;

    // A stand-in that notes its arguments and the engine's variable, talks, and ends with `last`.
    bool installStandIn(const QString& last) {
        QFile script(bin_.filePath(u"xdg-open"_s));
        return script.open(QIODevice::WriteOnly) &&
               script.write(
                   u"#!/bin/sh\necho \"$*\" \"${VELMORA_ENGINE_ONLY-unset}\" >> '%1'\n"
                   u"echo 'xdg-open: no method available' >&2\necho out\n%2\n"_s
                       .arg(bin_.filePath(u"seen"_s), last)
                       .toUtf8()) > 0 &&
               script.setPermissions(script.permissions() | QFile::ExeOwner);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(bin_.isValid());
        // Nothing else on the path: the installed xdg-open must not start a real browser.
        qputenv("PATH", QFile::encodeName(bin_.path()));
        velmora::SetEngineVariable("VELMORA_ENGINE_ONLY", "1");
    }

    void theBrowserSays_data() {
        QTest::addColumn<QString>("last");
        QTest::addColumn<bool>("opened");
        QTest::newRow("a browser took it") << u"exit 0"_s << true;
        QTest::newRow("no browser found") << u"exit 3"_s << false;
        QTest::newRow("xdg-open killed") << u"kill -9 $$"_s << false;
        QTest::newRow("no xdg-open") << QString() << false;
    }

    void theBrowserSays() {
        QFETCH(QString, last);
        QFETCH(bool, opened);
        QFile::remove(bin_.filePath(u"xdg-open"_s));
        QFile::remove(bin_.filePath(u"seen"_s));
        QVERIFY(last.isEmpty() || installStandIn(last));

        // What xdg-open prints must not reach the terminal the program runs in.
        QTemporaryFile terminal;
        QVERIFY(terminal.open());
        const int saved[] = {::dup(1), ::dup(2)};
        ::dup2(terminal.handle(), 1);
        ::dup2(terminal.handle(), 2);
        std::optional<bool> answer;
        bool earlierAnswered = false;
        {
            velmora::DesktopUrlOpener gone;
            gone.openAddress(u"https://chart.example/gone"_s,
                             [&earlierAnswered](bool) { earlierAnswered = true; });
        }
        velmora::DesktopUrlOpener opener;
        opener.openAddress(u"https://chart.example/a b"_s, [&answer](bool ok) { answer = ok; });
        QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 20000);
        ::dup2(saved[0], 1);
        ::dup2(saved[1], 2);

        QCOMPARE(*answer, opened);
        QVERIFY(!earlierAnswered);  // its opener is gone
        QCOMPARE(terminal.readAll(), QByteArray());
        QFile seen(bin_.filePath(u"seen"_s));
        QCOMPARE(seen.open(QIODevice::ReadOnly), !last.isEmpty());
        if (!last.isEmpty()) {
            // One argument, as given; the user's browser does not get the engine's settings.
            QVERIFY(seen.readAll().contains("https://chart.example/a b unset\n"));
        }
    }
};

QTEST_GUILESS_MAIN(TestLinks)
#include "tst_links.moc"
