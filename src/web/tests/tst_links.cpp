#include "web/browserenvironment.h"
#include "web/links.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <optional>

#include <csignal>
#include <functional>

#include <unistd.h>

using namespace Qt::StringLiterals;

// The real opener, with a stand-in xdg-open on PATH.
class TestLinks : public QObject {
    Q_OBJECT

    QTemporaryDir bin_;

    // A stand-in that notes its process, then how many arguments it got, each one, and the
    // engine's variable in one line (one write: two stand-ins may run at once), talks, and ends
    // with `last`.
    bool installStandIn(const QString& last) {
        QFile script(bin_.filePath(u"xdg-open"_s));
        return script.open(QIODevice::WriteOnly) &&
               script.write(
                   u"#!/bin/sh\necho $$ >> '%2'\nline=$(printf '%s' $#; printf ' [%s]' \"$@\")\n"
                   u"echo \"$line ${VELMORA_ENGINE_ONLY-unset}\" >> '%1'\n"
                   u"echo 'xdg-open: no method available' >&2\necho out\n%3\n"_s
                       .arg(bin_.filePath(u"seen"_s), bin_.filePath(u"pids"_s), last)
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
        QTest::addColumn<bool>("patienceEnds");
        QTest::newRow("a browser took it") << u"exit 0"_s << true << false;
        QTest::newRow("no browser found") << u"exit 3"_s << false << false;
        QTest::newRow("xdg-open killed") << u"kill -9 $$"_s << false << false;
        QTest::newRow("no xdg-open") << QString() << false << false;
        // Without a desktop xdg-open waits for the browser it started; a crash of that browser
        // long after its page opened is no failure to open it.
        QTest::newRow("browser still running") << u"exec /bin/sleep 600"_s << true << true;
    }

    void theBrowserSays() {
        QFETCH(QString, last);
        QFETCH(bool, opened);
        QFETCH(bool, patienceEnds);
        QFile::remove(bin_.filePath(u"xdg-open"_s));
        QFile::remove(bin_.filePath(u"seen"_s));
        QFile::remove(bin_.filePath(u"pids"_s));
        QVERIFY(last.isEmpty() || installStandIn(last));

        // What xdg-open prints must not reach the terminal the program runs in.
        QTemporaryFile terminal;
        QVERIFY(terminal.open());
        struct Redirect {
            int saved[2] = {::dup(1), ::dup(2)};
            explicit Redirect(int to) { ::dup2(to, 1), ::dup2(to, 2); }
            ~Redirect() { ::dup2(saved[0], 1), ::dup2(saved[1], 2); }
        };
        std::optional<Redirect> redirect(std::in_place, terminal.handle());
        std::optional<bool> answer;
        int answers = 0;
        bool earlierAnswered = false;
        std::function<void()> patienceOver;
        const auto patience = [&patienceOver](QObject&, std::function<void()> expired) {
            patienceOver = std::move(expired);
        };
        {
            velmora::DesktopUrlOpener gone(patience);
            gone.openAddress(u"https://chart.example/gone"_s,
                             [&earlierAnswered](bool) { earlierAnswered = true; });
        }
        velmora::DesktopUrlOpener opener(patience);
        opener.openAddress(u"https://chart.example/a b"_s, [&](bool ok) {
            answer = ok;
            ++answers;
        });
        const auto seen = [this](const QString& name) {
            QFile file(bin_.filePath(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        if (patienceEnds) {
            QTRY_VERIFY_WITH_TIMEOUT(seen(u"seen"_s).contains("a b] "), 20000);
            QVERIFY(!answer.has_value());
            patienceOver();
        }
        QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 20000);
        patienceOver();  // after the exit: answered already
        redirect.reset();

        QCOMPARE(*answer, opened);
        QCOMPARE(answers, 1);
        QVERIFY(!earlierAnswered);  // its opener is gone
        QCOMPARE(terminal.readAll(), QByteArray());
        for (const QByteArray& pid : seen(u"pids"_s).split('\n')) {
            if (!pid.isEmpty()) {
                ::kill(pid.toInt(), SIGKILL);
            }
        }
        // One argument, as given; the user's browser does not get the engine's settings.
        QCOMPARE(seen(u"seen"_s).contains("1 [https://chart.example/a b] unset\n"),
                 !last.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLinks)
#include "tst_links.moc"
