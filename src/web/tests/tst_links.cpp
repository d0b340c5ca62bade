#include "web/links.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLinks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void siteBases();
    void controlAddress_data();
    void controlAddress();
    void controlsTopToBottom();
    void controlWithoutPage();
    void paneStartAddresses();
};

void TestLinks::siteBases() {
    QCOMPARE(velmora::VendorSite(), QStringLiteral(VELMORA_VENDOR_SITE));
    QCOMPARE(velmora::ChartSite(), QStringLiteral(VELMORA_CHART_SITE));
    QVERIFY(!velmora::VendorSite().endsWith(u'/'));
    QVERIFY(!velmora::ChartSite().endsWith(u'/'));
}

void TestLinks::controlAddress_data() {
    const QString vendor = QStringLiteral(VELMORA_VENDOR_SITE);
    const QString chart = QStringLiteral(VELMORA_CHART_SITE);
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("address");
    QTest::newRow("Command2") << u"Command2"_s << vendor + u"/bgxz/html/?65.html"_s;
    QTest::newRow("Command3") << u"Command3"_s << chart + u"/datachart/3d_jibenzoushitu.html"_s;
    QTest::newRow("Command4") << u"Command4"_s << chart + u"/datachart/3d_zhihezoushitu.html"_s;
    QTest::newRow("Command5") << u"Command5"_s
                              << chart + u"/datachart/3d_chu3yushuzoushi1tu.html"_s;
    QTest::newRow("Command6") << u"Command6"_s << chart + u"/datachart/3d_history_kjxi.html"_s;
    QTest::newRow("Command7") << u"Command7"_s << chart + u"/datachart/3d_kuaduyiloutu.html"_s;
    QTest::newRow("Command8") << u"Command8"_s << chart + u"/datachart/3d_kline_acz.html"_s;
    QTest::newRow("Command9") << u"Command9"_s << chart + u"/datachart/3d_jiouzoushitu.html"_s;
    QTest::newRow("Command10") << u"Command10"_s << chart + u"/datachart/3d_zx34yiloutu.html"_s;
    QTest::newRow("Label5") << u"Label5"_s << vendor + u"/bgxz/class/"_s;
}

void TestLinks::controlAddress() {
    QFETCH(QString, control);
    QFETCH(QString, address);
    QCOMPARE(velmora::LinkAddress(control), address);
}

void TestLinks::controlsTopToBottom() {
    QStringList controls;
    for (const velmora::ExternalLink& link : velmora::ExternalLinks()) {
        controls.append(link.control.toString());
    }
    QCOMPARE(controls, (QStringList{u"Command2"_s, u"Command3"_s, u"Command4"_s, u"Command5"_s,
                                    u"Command6"_s, u"Command7"_s, u"Command8"_s, u"Command9"_s,
                                    u"Command10"_s, u"Label5"_s}));
}

void TestLinks::controlWithoutPage() {
    QCOMPARE(velmora::LinkAddress(u"Command1"), QString());
    QCOMPARE(velmora::LinkAddress(u"command2"), QString());
    QCOMPARE(velmora::LinkAddress(u"WebBrowser1"), QString());
    QCOMPARE(velmora::LinkAddress(u""), QString());
}

void TestLinks::paneStartAddresses() {
    const QString vendor = QStringLiteral(VELMORA_VENDOR_SITE);
    QCOMPARE(velmora::UpperPaneAddress(), vendor + u"/page/rjtqyb/index.php"_s);
    // Handed over as written, not percent-encoded.
    QCOMPARE(velmora::LowerPaneAddress(), vendor + u"/彩票/福彩3D.htm"_s);
}

QTEST_GUILESS_MAIN(TestLinks)
#include "tst_links.moc"
