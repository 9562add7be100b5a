#include "app/nice_scale.h"

#include <cmath>

namespace {

double powerOfTen(int exponent) {
  double p = 1.0;
  for (int i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) p *= 10.0;
  return p;
}

// units * 10^exponent, rounded once: powers of ten up to 10^22 are exact, so
// dividing gives the nearest double to a decimal fraction, as the reader does.
double decimalValue(int64_t units, int exponent) {
  if (exponent >= 0) return static_cast<double>(units) * powerOfTen(exponent);
  return static_cast<double>(units) / powerOfTen(-exponent);
}

struct Candidate {
  int64_t stride;
  int exponent;
  int64_t low, high;  // in steps
};

// Grid bounds for one step: the last step at or below low and the first at
// or above high. The quotient may miss a whole number by a rounding error,
// so the guess is corrected against the values themselves.
Candidate fit(int64_t stride, int exponent, double low, double high) {
  Candidate c{stride, exponent, 0, 0};
  const double step = decimalValue(stride, exponent);
  c.low = static_cast<int64_t>(std::floor(low / step + 1e-9));
  while (decimalValue(c.low * stride, exponent) > low) --c.low;
  c.high = static_cast<int64_t>(std::ceil(high / step - 1e-9));
  while (decimalValue(c.high * stride, exponent) < high) ++c.high;
  return c;
}

}  // namespace

RoundScale deriveNiceScale(double lowest, double highest, int divisions) {
  double low = lowest < 0.0 ? lowest : 0.0;
  double high = highest > 0.0 ? highest : 0.0;
  if (!std::isfinite(low) || !std::isfinite(high)) low = high = 0.0;
  // Only zeros: the unit span, divided as asked.
  if (high == low) high = 1.0;
  if (divisions < 1) divisions = 1;

  // Steps from just below the even share of the span to well above it;
  // smaller steps need more divisions than asked.
  const int e0 = static_cast<int>(std::floor(std::log10((high - low) / divisions)));
  static const struct {
    int64_t stride;
    int shift;  // 2.5 is 25 tenths
  } kMantissas[] = {{1, 0}, {2, 0}, {25, -1}, {5, 0}};
  bool found = false, fits = false;
  Candidate best{};
  for (int e = e0 - 1; e <= e0 + 2; ++e) {
    for (const auto& m : kMantissas) {
      const Candidate c = fit(m.stride, e + m.shift, low, high);
      const int64_t n = c.high - c.low;
      const int64_t bestN = best.high - best.low;
      // The most divisions not above the count asked; failing that, the fewest.
      // Steps come in rising order, so a tie keeps the finer step.
      bool better;
      if (!found)
        better = true;
      else if (n <= divisions)
        better = !fits || n > bestN;
      else
        better = !fits && n < bestN;
      if (better) {
        best = c;
        found = true;
        fits = n <= divisions;
      }
    }
  }

  RoundScale scale;
  scale.divisions = static_cast<int32_t>(best.high - best.low);
  scale.first = best.low * best.stride;
  scale.stride = best.stride;
  scale.exponent = best.exponent;
  return scale;
}

double roundScaleValue(const RoundScale& scale, int j) {
  return decimalValue(scale.first + j * scale.stride, scale.exponent);
}
