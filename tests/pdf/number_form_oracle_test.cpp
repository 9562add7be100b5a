// The stream's number forms are written without printf; printf itself is the
// oracle here: every value must come out as "%.5f" with trailing zeros and a
// bare point cut off, and every integer as "%d" / "%u".
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "tests/pdf/core_test_util.h"

using coretest::StringOut;

namespace {

std::string Expected(double v) {
  char buf[32];
  int len = snprintf(buf, sizeof buf, "%.5f", v);
  while (len > 1 && buf[len - 1] == '0') --len;
  if (len > 1 && buf[len - 1] == '.') --len;
  return std::string(buf, len);
}

std::string Written(double v) {
  StringOut out;
  out << v;
  return out.data;
}

// Checks v and its neighbours one unit in the last place either side, where
// rounding decisions flip.
int CheckAround(double v) {
  int failures = 0;
  for (double x : {std::nextafter(v, -HUGE_VAL), v, std::nextafter(v, HUGE_VAL)}) {
    if (!(x >= -32767.0 && x <= 32767.0)) continue;
    std::string want = Expected(x), got = Written(x);
    if (want != got && ++failures <= 5) ADD_FAILURE() << "value " << std::hexfloat << x << std::defaultfloat << ": printf " << want << ", written " << got;
  }
  return failures;
}

TEST(NumberFormOracle, RealsMatchPrintf) {
  int failures = 0;
  // The only reals that lie exactly on a half of the fifth decimal are the
  // odd multiples of 1/64 (10^5 = 2^5 x 5^5); there printf rounds to even.
  // Next, the decimal half-way points, where a writer that scales in floating
  // point rounds the wrong way.
  for (int k = -32767 * 64; k <= 32767 * 64; k += 7) failures += CheckAround(k / 64.0);
  for (int k = 0; k <= 200000; ++k) {
    failures += CheckAround(k * 0.000005);
    failures += CheckAround(-k * 0.000005);
  }
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> wide(-32767.0, 32767.0), narrow(-2.0, 2.0);
  for (int i = 0; i < 100000; ++i) {
    failures += CheckAround(wide(rng));
    failures += CheckAround(narrow(rng));
  }
  // Tiny and subnormal magnitudes, signed zero, the range ends.
  for (double v : {0.0, -0.0, 5e-324, -5e-324, 1e-310, 2.2250738585072014e-308, 1e-20, 4.9999e-6,
                   5e-6, 5.0000001e-6, 32767.0, -32767.0, 32766.999995, 0.5, 1.5, 2.5})
    failures += CheckAround(v);
  EXPECT_EQ(failures, 0);
}

TEST(NumberFormOracle, IntegersMatchPrintf) {
  const int signedEnds[] = {0, -1, 9, 10, -10, INT_MAX, INT_MIN};
  const unsigned int unsignedEnds[] = {0u, 9u, 10u, UINT_MAX};
  std::mt19937 rng(7);
  for (int i = 0; i < 200000; ++i) {
    int v = i < 7 ? signedEnds[i] : static_cast<int>(rng() >> (i % 32));
    if (i % 2) v = -v;
    unsigned int u = i < 4 ? unsignedEnds[i] : rng() >> (i % 32);
    char want[32];
    snprintf(want, sizeof want, "%d %u", v, u);
    StringOut out;
    out << v << " " << u;
    ASSERT_EQ(out.data, want);
  }
}

}  // namespace
