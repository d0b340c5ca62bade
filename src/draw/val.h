#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// The numeric value of a text as the original runtime's Val reads it: blanks, tabs and line feeds
// are skipped wherever they stand, the longest leading number (sign, digits, fraction, exponent)
// counts and the rest is ignored; no number at all is 0. Total for any input.
double Val(QStringView text);

// Shortest decimal text of a number; whole numbers never get an exponent or a decimal point, so a
// counter reads "1000000", not "1e+06".
QString DigitText(double value);

}  // namespace velmora
