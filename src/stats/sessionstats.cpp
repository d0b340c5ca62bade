#include "stats/sessionstats.h"

#include <QBuffer>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

using namespace Qt::StringLiterals;

namespace {

QString Pattern(const Draw& draw, QChar yes, QChar no, bool (*test)(int)) {
    QString pattern;
    for (int digit : draw.digits) {
        pattern += test(digit) ? yes : no;
    }
    return pattern;
}

QString PValueText(double p) {
    return p < 0.001 ? u"<0.001"_s : QString::number(p, 'f', 3);
}

const std::array<QString, 3> kPositionNames{u"百位"_s, u"十位"_s, u"个位"_s};

}  // namespace

int Draw::sum() const {
    return digits[0] + digits[1] + digits[2];
}

int Draw::span() const {
    const auto [low, high] = std::minmax_element(digits.begin(), digits.end());
    return *high - *low;
}

Shape Draw::shape() const {
    const int equalPairs =
        (digits[0] == digits[1]) + (digits[1] == digits[2]) + (digits[0] == digits[2]);
    return equalPairs == 3 ? Shape::Triple : equalPairs == 1 ? Shape::Pair : Shape::AllDifferent;
}

QString Draw::shapeName() const {
    switch (shape()) {
        case Shape::Triple:
            return u"豹子"_s;
        case Shape::Pair:
            return u"组三"_s;
        case Shape::AllDifferent:
            break;
    }
    return u"组六"_s;
}

QString Draw::oddEven() const {
    return Pattern(*this, u'奇', u'偶', [](int d) { return d % 2 == 1; });
}

QString Draw::bigSmall() const {
    return Pattern(*this, u'大', u'小', [](int d) { return d >= 5; });
}

QString Draw::primeComposite() const {
    // The game counts 1 as 质 and 0 as 合, so that every digit is one or the other.
    return Pattern(*this, u'质', u'合',
                   [](int d) { return d == 1 || d == 2 || d == 3 || d == 5 || d == 7; });
}

QString Draw::routes() const {
    QString routes;
    for (int digit : digits) {
        routes += QChar(u'0' + digit % 3);
    }
    return routes;
}

int Draw::count(int digit) const {
    return static_cast<int>(std::count(digits.begin(), digits.end(), digit));
}

Marks Draw::marks() const {
    Marks marks;
    int big = 0, odd = 0, prime = 0;
    for (int p = 0; p < 3; ++p) {
        const int digit = digits[p];
        marks << marked::PositionDigit(p, digit) << marked::kRoute + p * 3 + digit % 3;
        if (std::find(digits.begin(), digits.begin() + p, digit) == digits.begin() + p) {
            marks << marked::kDigit + digit;
        }
        big += digit >= 5;
        odd += digit % 2;
        prime += digit == 1 || digit == 2 || digit == 3 || digit == 5 || digit == 7;
    }
    // The ratios run from 3:0 down to 0:3.
    marks << marked::kSum + sum() << marked::kSpan + span()
          << marked::kShape + static_cast<int>(shape()) << marked::kBigSmall + 3 - big
          << marked::kOddEven + 3 - odd << marked::kPrimeComposite + 3 - prime;
    return marks;
}

SessionStats::PerColumn SessionStats::Never() {
    PerColumn never;
    never.fill(-1);
    return never;
}

void SessionStats::add(const Draw& draw) {
    const qint64 index = size();
    if (index % kCheckpointEvery == 0) {
        checkpoints_.push_back(lastSeen_);
    }
    for (int column : draw.marks()) {
        qint64& last = lastSeen_[column];
        run_[column] = last == index - 1 && index > 0 ? run_[column] + 1 : 1;
        longestRun_[column] = std::max(longestRun_[column], run_[column]);
        longestGap_[column] = std::max(longestGap_[column], index - last - 1);
        ++occurrences_[column];
        last = index;
    }
    draws_.push_back(
        static_cast<quint16>(draw.digits[0] * 100 + draw.digits[1] * 10 + draw.digits[2]));
    Q_EMIT drawAdded();
}

Draw SessionStats::draw(qint64 index) const {
    const int value = draws_[static_cast<std::size_t>(index)];
    return Draw{{value / 100, value / 10 % 10, value % 10}};
}

qint64 SessionStats::occurrences(int column) const {
    return occurrences_[column];
}

qint64 SessionStats::omission(int column) const {
    return size() - 1 - lastSeen_[column];
}

qint64 SessionStats::longestOmission(int column) const {
    return std::max(longestGap_[column], omission(column));
}

qint64 SessionStats::longestRun(int column) const {
    return longestRun_[column];
}

double SessionStats::chiSquare(int position) const {
    if (draws_.empty()) {
        return 0;
    }
    const double expected = static_cast<double>(size()) / kDigits;
    double sum = 0;
    for (int digit = 0; digit < kDigits; ++digit) {
        const auto count = occurrences_[marked::PositionDigit(position, digit)];
        const double deviation = static_cast<double>(count) - expected;
        sum += deviation * deviation / expected;
    }
    return sum;
}

double SessionStats::pValue(int position) const {
    return UpperRegularizedGamma((kDigits - 1) / 2.0, chiSquare(position) / 2);
}

QString SessionStats::verdict() const {
    const QString drawn = u"已摇 "_s + QString::number(size()) + u" 次"_s;
    if (size() < kFewestForVerdict) {
        return drawn + u"，次数太少，还看不出号码是否均匀（至少要 "_s +
               QString::number(kFewestForVerdict) + u" 次）。"_s;
    }
    QStringList values;
    QStringList uneven;
    for (int p = 0; p < kPositions; ++p) {
        values << kPositionNames[p] + u' ' + PValueText(pValue(p));
        if (pValue(p) < kSignificance) {
            uneven << kPositionNames[p];
        }
    }
    const QString tested = u"（卡方检验 p 值："_s + values.join(u"，"_s) + u"；小于 "_s +
                           QString::number(kSignificance) + u" 算作不均匀）。"_s;
    if (uneven.isEmpty()) {
        return drawn + u"：三个位置的号码都与公平、均匀的 0–9 相符"_s + tested;
    }
    return drawn + u"："_s + uneven.join(u'、') + u"的号码明显不均匀，不像公平摇出的 0–9"_s +
           tested;
}

Omissions SessionStats::omissionsAt(qint64 index) const {
    const qint64 start = index / kCheckpointEvery * kCheckpointEvery;
    PerColumn seen = checkpoints_[static_cast<std::size_t>(index / kCheckpointEvery)];
    for (qint64 i = start; i <= index; ++i) {
        for (int column : draw(i).marks()) {
            seen[column] = i;
        }
    }
    Omissions omissions;
    for (int column = 0; column < marked::kCount; ++column) {
        omissions[column] = index - seen[column];
    }
    return omissions;
}

void SessionStats::Advance(Omissions& omissions, const Draw& next) {
    for (qint64& omission : omissions) {
        ++omission;
    }
    for (int column : next.marks()) {
        omissions[column] = 0;
    }
}

void SessionStats::writeTable(QIODevice& out, char separator, const char* lineEnd, qint64 first,
                              qint64 last) const {
    last = last < 0 ? size() - 1 : last;
    const QChar sep = QChar::fromLatin1(separator);
    const QString end = QString::fromLatin1(lineEnd);
    QString chunk = QStringList{u"次序"_s, u"百位"_s, u"十位"_s, u"个位"_s,  u"和值"_s, u"跨度"_s,
                                u"奇偶"_s, u"大小"_s, u"质合"_s, u"012路"_s, u"形态"_s}
                        .join(sep) +
                    end;
    for (qint64 i = first; i <= last; ++i) {
        const Draw d = draw(i);
        const QString routes = d.routes();
        chunk += QString::number(i + 1) + sep + QString::number(d.digits[0]) + sep +
                 QString::number(d.digits[1]) + sep + QString::number(d.digits[2]) + sep +
                 QString::number(d.sum()) + sep + QString::number(d.span()) + sep + d.oddEven() +
                 sep + d.bigSmall() + sep + d.primeComposite() + sep + routes[0] + u' ' +
                 routes[1] + u' ' + routes[2] + sep + d.shapeName() + end;
        if (chunk.size() > 65536 || i == last) {
            out.write(chunk.toUtf8());
            chunk.clear();
        }
    }
    if (!chunk.isEmpty()) {
        out.write(chunk.toUtf8());
    }
}

QString SessionStats::saveCsv(const QString& path) const {
    // Written beside the target and renamed over it once complete: a failure leaves nothing
    // under the chosen name, and an older file there stays as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    file.write("\xEF\xBB\xBF");  // so that a spreadsheet on a Chinese Windows reads UTF-8
    writeTable(file, ',', "\r\n");
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

double UpperRegularizedGamma(double a, double x) {
    if (x <= 0) {
        return 1;
    }
    constexpr double kEpsilon = 1e-15;
    constexpr double kTiny = std::numeric_limits<double>::min() / kEpsilon;
    const double front = std::exp(-x + a * std::log(x) - std::lgamma(a));
    if (x < a + 1) {
        // The series of the lower function P(a, x), which converges quickly here; Q = 1 - P.
        double term = 1 / a;
        double sum = term;
        for (int n = 1; n < 1000 && std::abs(term) > std::abs(sum) * kEpsilon; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return std::max(0.0, 1 - sum * front);
    }
    // Legendre's continued fraction for Q(a, x), evaluated by the modified Lentz method.
    double b = x + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / b;
    double fraction = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::abs(d) < kTiny ? kTiny : d;
        c = b + an / c;
        c = std::abs(c) < kTiny ? kTiny : c;
        d = 1 / d;
        const double step = d * c;
        fraction *= step;
        if (std::abs(step - 1) < kEpsilon) {
            break;
        }
    }
    return fraction * front;
}

}  // namespace velmora
