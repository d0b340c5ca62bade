#include "draw/digitsource.h"

#include <QTest>

#include <array>
#include <cmath>

class TestDigitSource : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void digitsAreUniform();
    void clockSeededSourcesDiffer();
};

void TestDigitSource::digitsAreUniform() {
    // Chi-squared over 200000 digits at a fixed seed; 27.88 is the 0.1% point for 9 degrees of
    // freedom, so a biased formula (say one that can yield 10, or favours low digits) fails.
    velmora::ClockSeededDigitSource source(20101225);
    std::array<int, 10> counts{};
    constexpr int n = 200000;
    for (int i = 0; i < n; ++i) {
        const int d = source.nextDigit();
        QVERIFY2(d >= 0 && d <= 9, qPrintable(QString::number(d)));
        ++counts[static_cast<std::size_t>(d)];
    }
    double chi2 = 0;
    for (int c : counts) {
        const double expected = n / 10.0;
        chi2 += (c - expected) * (c - expected) / expected;
    }
    QVERIFY2(chi2 < 27.88, qPrintable(QString::number(chi2)));

    // Consecutive digits must not be correlated either: pairs over 100 cells.
    std::array<int, 100> pairs{};
    int previous = source.nextDigit();
    for (int i = 0; i < n; ++i) {
        const int d = source.nextDigit();
        ++pairs[static_cast<std::size_t>(previous * 10 + d)];
        previous = d;
    }
    double chi2Pairs = 0;
    for (int c : pairs) {
        const double expected = n / 100.0;
        chi2Pairs += (c - expected) * (c - expected) / expected;
    }
    QVERIFY2(chi2Pairs < 148.23, qPrintable(QString::number(chi2Pairs)));  // 0.1% point, 99 dof
}

void TestDigitSource::clockSeededSourcesDiffer() {
    velmora::ClockSeededDigitSource a;
    velmora::ClockSeededDigitSource b;
    QString sa;
    QString sb;
    for (int i = 0; i < 40; ++i) {
        sa += QString::number(a.nextDigit());
        sb += QString::number(b.nextDigit());
    }
    QVERIFY(sa != sb);
}

QTEST_APPLESS_MAIN(TestDigitSource)
#include "tst_digitsource.moc"
