#include "chart/value_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/settings.h"
#include "chart/chart_layout.h"

std::string formatValue(double value) {
  // Room for the widest value the real reader can give (15 characters) with
  // nine decimals.
  char buf[64];
  if (chartSettings.dataHasDecimals && chartSettings.decimalPoints > 0) {
    char format[16];
    snprintf(format, sizeof format, "%%#.%df", chartSettings.decimalPoints);
    snprintf(buf, sizeof buf, format, value);
    return numberText(buf);
  }
  // The whole value exactly, also beyond the 32-bit range. Written digit by
  // digit: a long bar chart formats two values per bar, and printf was a
  // noticeable part of its drawing.
  long long whole = static_cast<long long>(std::trunc(value));
  unsigned long long magnitude = whole < 0 ? 0ull - static_cast<unsigned long long>(whole)
                                           : static_cast<unsigned long long>(whole);
  char* end = buf + sizeof buf;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (whole < 0) *--p = '-';
  return numberText(std::string(p, end));
}

std::string divisionText(int j) {
  const ChartSettings& s = chartSettings;
  if (s.axesScale == Nice)
    return numberText(decimalText(s.roundScale.first + j * s.roundScale.stride, s.roundScale.exponent));
  return formatValue(divisionValue(j));
}

std::string decimalText(int64_t units, int exponent) {
  const bool negative = units < 0;
  const uint64_t magnitude = negative ? 0ull - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  std::string digits = std::to_string(magnitude);
  if (exponent >= 0) {
    if (magnitude != 0) digits.append(static_cast<size_t>(exponent), '0');
  } else {
    const size_t decimals = static_cast<size_t>(-exponent);
    if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
    digits.insert(digits.size() - decimals, 1, '.');
  }
  return negative ? "-" + digits : digits;
}

bool plainNumberFormat() {
  const ChartSettings& s = chartSettings;
  return s.numberGroup[0] == '\0' && std::strcmp(s.numberDecimal, ".") == 0 && s.valuePrefix[0] == '\0' &&
         s.valueSuffix[0] == '\0';
}

std::string numberText(const std::string& plain) {
  const ChartSettings& s = chartSettings;
  if (plainNumberFormat()) return plain;
  std::string out;
  size_t i = 0;
  if (!plain.empty() && plain[0] == '-') {
    out += '-';
    i = 1;
  }
  out += s.valuePrefix;
  size_t wholeEnd = i;
  while (wholeEnd < plain.size() && plain[wholeEnd] >= '0' && plain[wholeEnd] <= '9') ++wholeEnd;
  const size_t wholeDigits = wholeEnd - i;
  for (size_t k = 0; k < wholeDigits; ++k) {
    if (k > 0 && (wholeDigits - k) % 3 == 0) out += s.numberGroup;
    out += plain[i + k];
  }
  for (size_t k = wholeEnd; k < plain.size(); ++k) {
    if (plain[k] == '.')
      out += s.numberDecimal;
    else
      out += plain[k];
  }
  out += s.valueSuffix;
  return out;
}
