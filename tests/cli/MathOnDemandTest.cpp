// The command-line tool's own floor, ceil, nearbyint, lround and hypot against libm's, over the
// awkward arguments and two million random ones. This executable links them as the tool does, so
// a plain call reaches them, and libm's are looked up in libm itself.
#include <dlfcn.h>
#include <gnu/lib-names.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

template <typename Function> Function* Libm(const char* name) {
  static void* const libm = dlopen(LIBM_SO, RTLD_NOW | RTLD_LOCAL);
  return reinterpret_cast<Function*>(libm ? dlsym(libm, name) : nullptr);
}

// The tool's own, through pointers the compiler cannot see through: it would fold hypot(x, 0)
// and compute some of the others itself.
double (*volatile const ourFloor)(double) = ::floor;
double (*volatile const ourCeil)(double) = ::ceil;
double (*volatile const ourNearbyint)(double) = ::nearbyint;
long (*volatile const ourLround)(double) = ::lround;
double (*volatile const ourHypot)(double, double) = ::hypot;
double (*volatile const ourPow)(double, double) = ::pow;

// Equal as values go out of a function: the same bits, any NaN for a NaN.
bool Same(double a, double b) {
  return std::isnan(a) ? std::isnan(b) : std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

std::vector<double> Arguments() {
  using Limits = std::numeric_limits<double>;
  const double inf = Limits::infinity(), nan = Limits::quiet_NaN(), tiny = Limits::denorm_min();
  std::vector<double> out = {0.0, 2.5, std::nextafter(0.5, 0.0), 1e300, inf, nan, tiny};
  for (double edge : {0x1p52, 0x1p63}) // where fractions end, and where a long does
    out.insert(out.end(), {std::nextafter(edge, 0.0), edge, std::nextafter(edge, inf), 2 * edge});
  for (double half = 0.5; half < 0x1p53; half = half * 2 + 0.5) // every exponent's halves
    out.insert(out.end(), {half, std::nextafter(half, 0.0), std::nextafter(half, inf)});
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> near(-1e6, 1e6);
  for (int k = 0; k < 1000000; ++k) // any bits at all, and numbers of a drawing's size
    out.insert(out.end(), {std::bit_cast<double>(random()), near(random)});
  for (size_t k = 0, n = out.size(); k < n; ++k)
    out.push_back(-out[k]);
  return out;
}

TEST(MathOnDemand, RoundsAsLibmRounds) {
  auto* libFloor = Libm<double(double)>("floor");
  auto* libCeil = Libm<double(double)>("ceil");
  auto* libNearby = Libm<double(double)>("nearbyint");
  auto* libLround = Libm<long(double)>("lround");
  ASSERT_TRUE(libFloor && libCeil && libNearby && libLround);
  for (double x : Arguments()) {
    ASSERT_TRUE(Same(ourFloor(x), libFloor(x))) << std::hexfloat << x;
    ASSERT_TRUE(Same(ourCeil(x), libCeil(x))) << std::hexfloat << x;
    ASSERT_TRUE(Same(ourNearbyint(x), libNearby(x))) << std::hexfloat << x;
    ASSERT_EQ(ourLround(x), libLround(x)) << std::hexfloat << x;
  }
}

TEST(MathOnDemand, HypotAndTheFunctionsLeftToLibmAnswerAsLibm) {
  auto* libHypot = Libm<double(double, double)>("hypot");
  auto* libPow = Libm<double(double, double)>("pow");
  ASSERT_TRUE(libHypot && libPow);
  const std::vector<double> arguments = Arguments();
  for (size_t k = 0; k + 1 < arguments.size(); k += 97) {
    const double x = arguments[k], y = arguments[k + 1];
    for (double zero : {0.0, -0.0})
      ASSERT_TRUE(Same(ourHypot(x, zero), libHypot(x, zero)) &&
                  Same(ourHypot(zero, x), libHypot(zero, x)))
          << std::hexfloat << x;
    ASSERT_TRUE(Same(ourHypot(x, y), libHypot(x, y)) && Same(ourPow(x, y), libPow(x, y)))
        << std::hexfloat << x << ' ' << y;
  }
}

} // namespace
