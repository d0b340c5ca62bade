#include "stats/sessionstats.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace velmora;

class TestSessionStats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachDrawHasTheChartColumns_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("columns");  // 和值 跨度 奇偶 大小 质合 012路 形态
        QTest::newRow("组三") << 112 << u"4 1 奇奇偶 小小小 质质质 112 组三"_s;
        QTest::newRow("组六") << 307 << u"10 7 奇偶奇 小小大 质合质 001 组六"_s;
        QTest::newRow("组六 across 4|5 small/big")
            << 459 << u"18 5 偶奇奇 小大大 合质合 120 组六"_s;
    }
    void eachDrawHasTheChartColumns() {
        QFETCH(int, number);
        const Draw d{{number / 100, number / 10 % 10, number % 10}};
        QTEST(QStringList({QString::number(d.sum()), QString::number(d.span()), d.oddEven(),
                           d.bigSmall(), d.primeComposite(), d.routes(), d.shapeName()})
                  .join(u' '),
              "columns");
    }

    // 10000 draws: 百位 counts 0 to 9 over and over, 十位 is always 0, 个位 is 1 but for a 5 in
    // draw 5000. Rows on both sides of where omissionsAt() keeps its checkpoints.
    void omissionsHoldAcrossManyDraws() {
        SessionStats stats;
        for (int i = 0; i < 10000; ++i) {
            stats.add(Draw{{i % 10, 0, i == 5000 ? 5 : 1}});
        }
        for (qint64 row : {0, 1, 9, 4095, 4096, 4097, 5000, 8191, 8192, 9999}) {
            const Omissions o = stats.omissionsAt(row);
            for (int d = 0; d < 10; ++d) {
                QCOMPARE(o[marked::PositionDigit(0, d)], row >= d ? (row - d) % 10 : row + 1);
                QCOMPARE(o[marked::PositionDigit(1, d)], d == 0 ? 0 : row + 1);
            }
            QCOMPARE(o[marked::PositionDigit(2, 5)], row < 5000 ? row + 1 : row - 5000);
        }
        QCOMPARE(stats.longestOmission(marked::PositionDigit(0, 9)), 9);
        QCOMPARE(stats.longestRun(marked::PositionDigit(1, 0)), 10000);
        // before it came, not the 4999 since
        QCOMPARE(stats.longestOmission(marked::PositionDigit(2, 5)), 5000);
        QCOMPARE(stats.longestRun(marked::PositionDigit(2, 1)), 5000);
        QCOMPARE(stats.pValue(0), 1.0);  // 百位 is perfectly even
    }

    // The upper tail of chi-square with k degrees of freedom is Q(k/2, x/2).
    void theUpperGammaGivesKnownTails_data() {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("q");
        QTest::newRow("Q(1, x) = e^-x") << 1.0 << 2.0 << std::exp(-2.0);
        QTest::newRow("df 1, chi² 1: erfc(√0.5)") << 0.5 << 0.5 << 0.3173105078629140;
        QTest::newRow("df 9 at its 1 % point 21.666") << 4.5 << 21.666 / 2 << 0.01;
        QTest::newRow("df 9 at its 95 % point 3.325") << 4.5 << 3.325 / 2 << 0.95;
        QTest::newRow("df 9, chi² 45 (fraction side)") << 4.5 << 22.5 << 9.226628710549172e-07;
    }
    void theUpperGammaGivesKnownTails() {
        QFETCH(double, a);
        QFETCH(double, x);
        QFETCH(double, q);
        QVERIFY2(std::abs(UpperRegularizedGamma(a, x) - q) <= q * 1e-5,
                 qPrintable(QString::number(UpperRegularizedGamma(a, x), 'g', 17)));
    }

    void uniformityIsJudgedFromThirtyDraws() {
        // 百位 always 3; 十位 every digit in turn; 个位 0 nine times, 1 to 7 three times each.
        SessionStats stats;
        for (int i = 0; i < 30; ++i) {
            QVERIFY(
                stats.verdict().startsWith(u"已摇 "_s + QString::number(i) + u" 次，次数太少"_s));
            stats.add(Draw{{3, i % 10, i < 9 ? 0 : (i - 9) / 3 + 1}});
        }
        QCOMPARE(stats.chiSquare(0), 270.0);  // (30 - 3)² / 3 + 9 × 3² / 3
        QCOMPARE(stats.chiSquare(2), 18.0);   // 6² / 3 + 2 × 3² / 3: p 0.035, not below 0.01
        QCOMPARE(stats.verdict(),
                 u"已摇 30 次：百位的号码明显不均匀，不像公平摇出的 0–9（卡方检验 p 值：百位 "
                 u"<0.001，十位 1.000，个位 0.035；小于 0.01 算作不均匀）。"_s);
    }
};

QTEST_GUILESS_MAIN(TestSessionStats)
#include "tst_sessionstats.moc"
