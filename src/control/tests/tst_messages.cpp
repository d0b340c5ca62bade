#include "control/messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestMessages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modalBoxWithOneChineseOkButton();
};

void TestMessages::modalBoxWithOneChineseOkButton() {
    QWidget window;
    window.show();
    velmora::QMessageBoxMessages messages(&window);
    QString seenText;
    QString seenTitle;
    QStringList buttons;
    bool modal = false;
    bool dismissed = false;
    // Runs inside the box's own event loop, as the user would act on it.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        modal = box->isModal() && box->parentWidget() == &window;
        seenText = box->text();
        seenTitle = box->windowTitle();
        for (QAbstractButton* b : box->buttons()) {
            buttons << b->text();
        }
        box->buttons().value(0)->click();
        dismissed = true;
    });
    messages.show(u"找到昨天开奖号码"_s, u"摇奖提示框"_s);
    QVERIFY(dismissed);  // show() returns only once the box has been dismissed
    QVERIFY(modal);
    QCOMPARE(seenText, u"找到昨天开奖号码"_s);
    QCOMPARE(seenTitle, u"摇奖提示框"_s);
    QCOMPARE(buttons, QStringList{u"确定"_s});
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
