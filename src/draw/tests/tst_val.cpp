#include "draw/val.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using velmora::DigitText;
using velmora::Val;

class TestVal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsLeadingNumber_data();
    void readsLeadingNumber();
    void extremesStayDefined_data();
    void extremesStayDefined();
    void digitText_data();
    void digitText();
    void digitTextRoundTrips();
};

void TestVal::readsLeadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("digit") << u"7"_s << 7.0;
    QTest::newRow("letter") << u"a"_s << 0.0;
    QTest::newRow("blank") << u" "_s << 0.0;
    QTest::newRow("full-width digit is no digit") << u"７"_s << 0.0;
    QTest::newRow("trailing garbage") << u"12abc"_s << 12.0;
    QTest::newRow("blanks inside") << u" 1 2 3 "_s << 123.0;
    QTest::newRow("tabs and line feeds") << u"\t1\n2"_s << 12.0;
    QTest::newRow("carriage return stops") << u"1\r2"_s << 1.0;
    QTest::newRow("sign and blanks") << u" - 5"_s << -5.0;
    QTest::newRow("plus") << u"+8"_s << 8.0;
    QTest::newRow("sign alone") << u"-"_s << 0.0;
    QTest::newRow("two signs") << u"--5"_s << 0.0;
    QTest::newRow("fraction") << u"3.25"_s << 3.25;
    QTest::newRow("leading point") << u".5"_s << 0.5;
    QTest::newRow("trailing point") << u"5."_s << 5.0;
    QTest::newRow("point alone") << u"."_s << 0.0;
    QTest::newRow("second point stops") << u"1.2.3"_s << 1.2;
    QTest::newRow("exponent") << u"1.5e3"_s << 1500.0;
    QTest::newRow("spaced exponent") << u" 1 . 5 E - 2"_s << 0.015;
    QTest::newRow("exponent without digits") << u"4e"_s << 4.0;
    QTest::newRow("exponent sign without digits") << u"4e+x"_s << 4.0;
    QTest::newRow("exponent without mantissa") << u"e5"_s << 0.0;
    QTest::newRow("counter") << u"1000000"_s << 1000000.0;
}

void TestVal::readsLeadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Val(text), value);
}

void TestVal::extremesStayDefined_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("overflow") << u"1e400"_s << inf;
    QTest::newRow("negative overflow") << u"-1e400"_s << -inf;
    QTest::newRow("underflow") << u"1e-400"_s << 0.0;
    QTest::newRow("huge exponent") << u"1e99999999999999999999999"_s << inf;
    QTest::newRow("zero with huge exponent") << u"0e99999999999999999999"_s << 0.0;
    QTest::newRow("long mantissa") << QString(300, u'9') << std::stod(std::string(300, '9'));
    QTest::newRow("overlong mantissa") << QString(5000, u'9') << inf;
    QTest::newRow("many fraction zeros then exponent")
        << (u"0."_s + QString(400, u'0') + u"1e405"_s) << 1e4;
}

void TestVal::extremesStayDefined() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Val(text), value);
}

void TestVal::digitText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << u"0"_s;
    QTest::newRow("nine") << 9.0 << u"9"_s;
    QTest::newRow("ten") << 10.0 << u"10"_s;
    QTest::newRow("a million has no exponent") << 1e6 << u"1000000"_s;
    QTest::newRow("big counter") << 123456789012.0 << u"123456789012"_s;
    QTest::newRow("fraction") << 0.5 << u"0.5"_s;
}

void TestVal::digitText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(DigitText(value), text);
}

void TestVal::digitTextRoundTrips() {
    for (double v : {1.0 / 3.0, 2.5e-7, 6.02214076e23, -42.125, 1e300}) {
        QCOMPARE(Val(DigitText(v)), v);
    }
}

QTEST_APPLESS_MAIN(TestVal)
#include "tst_val.moc"
