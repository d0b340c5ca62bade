#pragma once

#include <QObject>
#include <QString>
#include <QVarLengthArray>

#include <array>
#include <deque>
#include <vector>

class QIODevice;

namespace velmora {

// 形态: all three digits equal (豹子), two equal (组三), all different (组六).
enum class Shape { Triple, Pair, AllDifferent };

// The marked columns of the charts: each is something a draw either is or is not, and every one
// of them has the same counts (出现次数, 遗漏, 最大遗漏, 最大连出). They are numbered in one range.
namespace marked {
inline constexpr int kPositionDigit = 0;    // 30: position × 10 + digit, 百位 0 to 个位 9
inline constexpr int kDigit = 30;           // 10: the digit in any position (号码分布)
inline constexpr int kSum = 40;             // 28: 和值 0–27
inline constexpr int kSpan = 68;            // 10: 跨度 0–9
inline constexpr int kShape = 78;           // 3: 豹子, 组三, 组六
inline constexpr int kBigSmall = 81;        // 4: 大:小 3:0, 2:1, 1:2, 0:3
inline constexpr int kOddEven = 85;         // 4: 奇:偶, the same way
inline constexpr int kPrimeComposite = 89;  // 4: 质:合, the same way
inline constexpr int kRoute = 93;           // 9: position × 3 + digit mod 3 (012路)
inline constexpr int kCount = 102;
constexpr int PositionDigit(int position, int digit) {
    return kPositionDigit + position * 10 + digit;
}
}  // namespace marked

// The marked columns a draw falls in: 13 to 15 of them.
using Marks = QVarLengthArray<int, 15>;

// One draw's digits by position (百位, 十位, 个位) and the columns a chart site derives from them.
struct Draw {
    std::array<int, 3> digits{};

    int sum() const;   // 和值
    int span() const;  // 跨度: largest digit minus smallest
    Shape shape() const;
    QString shapeName() const;       // 豹子, 组三, 组六
    QString oddEven() const;         // 奇偶, e.g. 奇偶奇; 0 is even
    QString bigSmall() const;        // 大小: 0–4 小, 5–9 大
    QString primeComposite() const;  // 质合: 1 2 3 5 7 质, 0 4 6 8 9 合
    QString routes() const;          // 012路: each digit mod 3, e.g. 012
    int count(int digit) const;      // how often the digit is in the draw: 0 to 3
    Marks marks() const;
};

// Per marked column, the draws since a draw last fell in it, as one row of a trend chart shows
// them: 0 in the row where it did, the whole session so far if none has.
using Omissions = std::array<qint64, marked::kCount>;

// Every completed draw of the session, in order, and what they add up to. A draw costs two bytes
// and constant time to add, whatever the session's length; everything per draw is derived from
// its digits on demand.
class SessionStats final : public QObject {
    Q_OBJECT
public:
    static constexpr int kPositions = 3;
    static constexpr int kDigits = 10;
    // Below this many draws the uniformity test says too little to go by.
    static constexpr qint64 kFewestForVerdict = 30;
    // A position whose p-value falls below this counts as not uniform.
    static constexpr double kSignificance = 0.01;

    void add(const Draw& draw);
    qint64 size() const { return static_cast<qint64>(draws_.size()); }
    Draw draw(qint64 index) const;

    // Of a marked column:
    qint64 occurrences(int column) const;      // 出现次数
    qint64 omission(int column) const;         // 当前遗漏
    qint64 longestOmission(int column) const;  // 最大遗漏, the current one included
    qint64 longestRun(int column) const;       // 最大连出: most draws in a row
    // Pearson's chi-square against ten equally likely digits, and its p-value (9 d.o.f.).
    double chiSquare(int position) const;
    double pValue(int position) const;
    // What the p-values say, in plain Chinese.
    QString verdict() const;

    // The omissions as the chart shows them in row `index` (0-based). Costs at most a few
    // thousand steps, however long the session.
    Omissions omissionsAt(qint64 index) const;
    // The next row's omissions from this row's.
    static void Advance(Omissions& omissions, const Draw& next);

    // The draws from `first` to `last` (the whole session by default) as a table: a header and
    // one line per draw with its number, digits and derived columns. 012路 is written with blanks
    // ("0 1 2") so that a spreadsheet keeps it as text.
    void writeTable(QIODevice& out, char separator, const char* lineEnd, qint64 first = 0,
                    qint64 last = -1) const;
    // Saves the table as CSV (UTF-8 with a byte order mark, CRLF) under `path`, all or nothing:
    // returns an empty string, or why it could not.
    QString saveCsv(const QString& path) const;

Q_SIGNALS:
    void drawAdded();

private:
    static constexpr qint64 kCheckpointEvery = 4096;
    using PerColumn = std::array<qint64, marked::kCount>;

    std::deque<quint16> draws_;  // 100 × 百位 + 10 × 十位 + 个位
    PerColumn occurrences_{};
    PerColumn longestGap_{};
    PerColumn run_{};  // up to the newest draw
    PerColumn longestRun_{};
    PerColumn lastSeen_ = Never();
    // The last sightings before every kCheckpointEvery-th draw, where omissionsAt() starts.
    std::vector<PerColumn> checkpoints_;

    static PerColumn Never();
};

// The regularized upper incomplete gamma function Q(a, x) = Γ(a, x) / Γ(a), for a > 0, x ≥ 0.
double UpperRegularizedGamma(double a, double x);

}  // namespace velmora
