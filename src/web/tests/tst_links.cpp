#include "web/browserenvironment.h"
#include "web/links.h"

#include <QDir>
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

    QString standIn() const { return bin_.filePath(u"xdg-open"_s); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(bin_.isValid());
        // Nothing else on the path: the installed xdg-open must not start a real browser.
        qputenv("PATH", QFile::encodeName(bin_.path()));
        // As the panes' engine would set it: not for the user's browser.
        velmora::SetEngineVariable("VELMORA_ENGINE_ONLY", "1");
    }

    void theBrowserSays_data() {
        QTest::addColumn<std::optional<int>>("exitStatus");
        QTest::addColumn<bool>("opened");
        QTest::newRow("a browser took it") << std::optional(0) << true;
        QTest::newRow("no browser found") << std::optional(3) << false;
        QTest::newRow("xdg-open killed") << std::optional(-9) << false;
        QTest::newRow("no xdg-open") << std::optional<int>() << false;
    }

    void theBrowserSays() {
        QFETCH(std::optional<int>, exitStatus);
        QFETCH(bool, opened);
        QFile::remove(standIn());
        const QString seen = bin_.filePath(u"seen"_s);
        QFile::remove(seen);
        if (exitStatus.has_value()) {
            QFile script(standIn());
            QVERIFY(script.open(QIODevice::WriteOnly));
            const QString last = *exitStatus < 0 ? u"kill -9 $$"_s : u"exit %1"_s.arg(*exitStatus);
            script.write(
                u"#!/bin/sh\nprintf '%s %s\\n' \"$*\" \"${VELMORA_ENGINE_ONLY-unset}\" "
                u"> '%1'\necho 'xdg-open: no method available' >&2\necho out\n%2\n"_s
                    .arg(seen, last)
                    .toUtf8());
            script.close();
            QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
        }

        // What xdg-open prints must not reach the terminal the program runs in.
        QTemporaryFile terminal;
        QVERIFY(terminal.open());
        const int savedOut = ::dup(1);
        const int savedErr = ::dup(2);
        ::dup2(terminal.handle(), 1);
        ::dup2(terminal.handle(), 2);
        std::optional<bool> answer;
        {
            velmora::DesktopUrlOpener opener;
            opener.openAddress(u"https://chart.example/a b"_s, [&answer](bool ok) { answer = ok; });
            QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 20000);
        }
        ::dup2(savedOut, 1);
        ::dup2(savedErr, 2);
        ::close(savedOut);
        ::close(savedErr);

        QCOMPARE(*answer, opened);
        QCOMPARE(terminal.readAll(), QByteArray());
        if (exitStatus.has_value()) {
            QFile record(seen);
            QVERIFY(record.open(QIODevice::ReadOnly));
            QCOMPARE(record.readAll(), "https://chart.example/a b unset\n");
        }
    }

    void noAnswerOnceTheOpenerIsGone() {
        QFile script(standIn());
        QFile::remove(standIn());
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexit 3\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
        bool answered = false;
        {
            velmora::DesktopUrlOpener opener;
            opener.openAddress(u"https://chart.example/"_s, [&answered](bool) { answered = true; });
        }
        // A later opener's answer comes after the first process's.
        std::optional<bool> later;
        velmora::DesktopUrlOpener opener;
        opener.openAddress(u"https://chart.example/"_s, [&later](bool ok) { later = ok; });
        QTRY_VERIFY_WITH_TIMEOUT(later.has_value(), 20000);
        QVERIFY(!answered);
    }
};

QTEST_GUILESS_MAIN(TestLinks)
#include "tst_links.moc"
