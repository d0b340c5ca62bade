#include "draw/val.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

namespace velmora {

namespace {

bool isSkipped(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

double Val(QStringView text) {
    // Collect the number's characters without the skipped blanks, then let the C++ library do the
    // correctly rounded conversion. Exponent digits are kept only up to a saturated
    // value, so a pathological "1e99999999999" neither overflows an int nor grows the buffer.
    std::string number;
    number.reserve(32);
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skip = [&] {
        while (i < n && isSkipped(text[i])) {
            ++i;
        }
    };

    skip();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') {
            number.push_back('-');
        }
        ++i;
    }
    bool anyDigit = false;
    auto digits = [&] {
        for (skip(); i < n && isDigit(text[i]); skip()) {
            number.push_back(static_cast<char>(text[i].unicode()));
            anyDigit = true;
            ++i;
        }
    };
    digits();
    skip();
    if (i < n && text[i] == u'.') {
        number.push_back('.');
        ++i;
        digits();
    }
    if (!anyDigit) {
        return 0.0;
    }

    skip();
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        auto skipAt = [&] {
            while (j < n && isSkipped(text[j])) {
                ++j;
            }
        };
        skipAt();
        bool negative = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            negative = text[j] == u'-';
            ++j;
        }
        long long exponent = 0;
        bool expDigit = false;
        for (skipAt(); j < n && isDigit(text[j]); skipAt()) {
            expDigit = true;
            if (exponent < 1000000000) {
                exponent = exponent * 10 + (text[j].unicode() - u'0');
            }
            ++j;
        }
        if (expDigit) {
            number.push_back('e');
            if (negative) {
                number.push_back('-');
            }
            number += std::to_string(exponent);
        }
    }

    double value = 0.0;
    const auto* first = number.data();
    const auto* last = number.data() + number.size();
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched on range errors: decide between 0 and infinity
        // from the exponent's sign, as the correctly rounded result would.
        const bool tiny = number.find("e-") != std::string::npos;
        const bool negative = number.front() == '-';
        value = tiny ? 0.0 : HUGE_VAL;
        return negative ? -value : value;
    }
    return value;
}

QString DigitText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.0e15) {
        return QString::number(static_cast<qint64>(value));
    }
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

}  // namespace velmora
