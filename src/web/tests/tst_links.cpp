#include "web/browserenvironment.h"
#include "web/links.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>

#include <unistd.h>

using namespace Qt::StringLiterals;

// The real opener, with a stand-in xdg-open on PATH.
class TestLinks : public QObject {
    Q_OBJECT

    QTemporaryDir bin_;

    // A line per stand-in: its process, its argument count, each argument, the engine's variable.
    QByteArray seen() const {
        QFile file(bin_.filePath(u"seen"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(bin_.isValid());
        // Nothing else on the path: the installed xdg-open must not start a real browser.
        qputenv("PATH", QFile::encodeName(bin_.path()));
        velmora::SetEngineVariable("VELMORA_ENGINE_ONLY", "1");
    }

    void theBrowserSays_data() {
        QTest::addColumn<QString>("last");  // the stand-in's last line
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
        QFile::remove(bin_.filePath(u"seen"_s));
        QFile script(bin_.filePath(u"xdg-open"_s));
        script.remove();
        // One write for the line: two stand-ins may run at once.
        QVERIFY(last.isEmpty() ||
                (script.open(QIODevice::WriteOnly) &&
                 script.write(u"#!/bin/sh\nline=$(printf '%s %s' $$ $#; printf ' [%s]' \"$@\")\n"
                              u"echo \"$line ${VELMORA_ENGINE_ONLY-unset}\" >> '%1'\n%2\n"_s
                                  .arg(bin_.filePath(u"seen"_s), last)
                                  .toUtf8()) > 0 &&
                 script.setPermissions(script.permissions() | QFile::ExeOwner)));
        script.close();

        QList<bool> answers;  // the first opener is gone before it could answer
        const auto answer = [&answers](bool ok) { answers << ok; };
        std::function<void()> patienceOver;
        const auto patience = [&patienceOver](QObject&, std::function<void()> expired) {
            patienceOver = std::move(expired);
        };
        velmora::DesktopUrlOpener(patience).openAddress(u"https://chart.example/gone"_s, answer);
        velmora::DesktopUrlOpener opener(patience);
        opener.openAddress(u"https://chart.example/a b"_s, answer);
        if (patienceEnds) {
            QTRY_VERIFY_WITH_TIMEOUT(seen().contains("a b] "), 20000);
            QVERIFY(answers.isEmpty());
            patienceOver();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!answers.isEmpty(), 20000);
        patienceOver();  // after the exit: answered already
        QCOMPARE(answers, QList<bool>{opened});
        for (const QByteArray& line : seen().split('\n')) {
            if (const int pid = line.left(line.indexOf(' ')).toInt(); pid > 0) {
                ::kill(pid, SIGKILL);
            }
        }
        // One argument, as given; the user's browser does not get the engine's settings.
        QCOMPARE(seen().contains(" 1 [https://chart.example/a b] unset\n"), !last.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLinks)
#include "tst_links.moc"
