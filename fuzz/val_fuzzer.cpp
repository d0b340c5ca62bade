// Val must be total (no crash, no hang, no undefined behaviour) on any text, and every finite value
// must come back unchanged through DigitText and Val.
#include "draw/val.h"

#include <QString>
#include <QStringView>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, const QString& input, double value, const QString& text) {
    std::fprintf(stderr, "%s\n  input: %s\n  value: %.17g\n  digit text: %s\n", what,
                 qPrintable(input), value, qPrintable(text));
    std::abort();
}

void Check(QStringView input) {
    const double value = velmora::Val(input);
    if (std::isnan(value)) {
        Fail("Val gave NaN", input.toString(), value, QString());
    }
    if (!std::isfinite(value)) {
        return;
    }
    const QString text = velmora::DigitText(value);
    const double back = velmora::Val(text);
    if (back != value || std::signbit(back) != std::signbit(value)) {
        if (!(back == 0.0 && value == 0.0)) {
            Fail("DigitText does not round-trip through Val", input.toString(), value, text);
        }
    }
    // Whole numbers up to 9e15 (the range a draw counter can reach) are written out in full.
    if (value == std::trunc(value) && std::fabs(value) < 9.0e15 &&
        (text.contains(QLatin1Char('e')) || text.contains(QLatin1Char('.')))) {
        Fail("a whole number got an exponent or a decimal point", input.toString(), value, text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The same bytes are read as UTF-8 and as raw UTF-16 code units (lone surrogates included).
    Check(QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    std::vector<char16_t> units(size / 2);
    if (!units.empty()) {
        std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    }
    Check(QStringView(units.data(), static_cast<qsizetype>(units.size())));
    return 0;
}
