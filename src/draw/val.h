#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// The numeric value of a text as the original runtime's Val reads it: blanks, tabs and line feeds
// are skipped wherever they stand, the longest leading number (sign, digits, fraction, exponent)
// counts and the rest is ignored; no number at all is 0. Total for any input.
double Val(QStringView text);

// Shortest decimal text of a number. Whole numbers of up to 15 digits are written out in full, so
// a counter reads "1000000", not "1e+06"; beyond that an exponent is unavoidable.
QString DigitText(double value);

}  // namespace velmora
