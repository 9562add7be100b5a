// The texts of the numbers a chart shows: data values (value labels of the
// other scales, "VVVV" in bar labels) and division values, all written
// in the number format, prefix and suffix the commands chose. The layout
// measures with these same functions, so its room fits what is drawn.
#pragma once

#include <cstdint>
#include <string>

// A value as the data's decimals ask for it: with decimalPoints decimals
// when any value was written with a point, else its whole part.
std::string formatValue(double value);

// The text of division j (0 to the division count).
std::string divisionText(int j);

// units * 10^exponent written exactly, with as many decimals as the
// exponent asks for and no more: 25 and -1 give "2.5", 50 and -1 "5.0".
std::string decimalText(int64_t units, int exponent);

// True while the number format, prefix and suffix are the defaults, which
// leave numbers as they are.
bool plainNumberFormat();

// A plain number ("-1234567.5": an optional minus, digits, an optional
// point and digits) in the chosen number format, between prefix and suffix;
// a minus goes before the prefix.
std::string numberText(const std::string& plain);
