// The command-line tool starts without libm. Most of a run is the start of a process, and mapping
// and relocating libm is a measurable part of it, yet a typical run calls five of its functions,
// each with one exact answer: floor, ceil, nearbyint and lround round, and hypot with a zero
// argument is the other argument's magnitude. Those are computed here, with libm's result for
// every argument (any NaN for a NaN); any other call loads libm the first time and goes to it.
//
// No header of the C library's mathematics is included: these are the definitions.

#include <dlfcn.h>
#include <gnu/lib-names.h>

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// 2^52: from here on every double is a whole number. 2^63: the first beyond a long.
constexpr double kWhole = 4503599627370496.0;
constexpr double kBeyondLong = 9223372036854775808.0;

void* Libm() {
  static void* const handle = [] {
    void* libm = dlopen(LIBM_SO, RTLD_LAZY | RTLD_LOCAL);
    if (!libm) {
      std::fprintf(stderr, "VeltrixBarCode: %s\n", dlerror());
      std::abort();
    }
    return libm;
  }();
  return handle;
}

template <typename Function> Function* FromLibm(const char* name) {
  void* function = dlsym(Libm(), name);
  if (!function) {
    std::fprintf(stderr, "VeltrixBarCode: libm has no %s\n", name);
    std::abort();
  }
  return reinterpret_cast<Function*>(function);
}

// x without its fraction, toward zero, for |x| < 2^52; the sign of a zero result is x's.
double Truncated(double x) {
  return __builtin_copysign(static_cast<double>(static_cast<long long>(x)), x);
}

} // namespace

extern "C" {

double floor(double x) {
  if (!(__builtin_fabs(x) < kWhole)) return x; // whole already, infinite or NaN
  const double t = Truncated(x);
  return t > x ? t - 1 : t;
}

double ceil(double x) {
  if (!(__builtin_fabs(x) < kWhole)) return x;
  const double t = Truncated(x);
  return t < x ? t + 1 : t;
}

// To the nearest whole number, halves to even, in the default rounding mode, which nothing in the
// tool changes: adding 2^52 leaves no bits for a fraction, so the addition rounds it away.
double nearbyint(double x) {
  const double magnitude = __builtin_fabs(x);
  if (!(magnitude < kWhole)) return x;
  return __builtin_copysign((magnitude + kWhole) - kWhole, x);
}

// Halves away from zero. Beyond a long, and for NaN, libm gives what the processor's conversion
// gives: the smallest long.
long lround(double x) {
  const double magnitude = __builtin_fabs(x);
  if (!(magnitude < kBeyondLong)) return std::numeric_limits<long>::min();
  if (magnitude >= kWhole) return static_cast<long>(x);
  const double t = Truncated(x);
  return static_cast<long>(__builtin_fabs(x - t) >= 0.5 ? t + __builtin_copysign(1.0, x) : t);
}

double hypot(double x, double y) {
  if (y == 0) return __builtin_fabs(x);
  if (x == 0) return __builtin_fabs(y);
  static const auto libm = FromLibm<double(double, double)>("hypot");
  return libm(x, y);
}

// The rest go to libm.
#define VX_FROM_LIBM_1(type, name)                                                                 \
  type name(type x) {                                                                              \
    static const auto libm = FromLibm<type(type)>(#name);                                          \
    return libm(x);                                                                                \
  }
#define VX_FROM_LIBM_2(type, name)                                                                 \
  type name(type x, type y) {                                                                      \
    static const auto libm = FromLibm<type(type, type)>(#name);                                    \
    return libm(x, y);                                                                             \
  }
VX_FROM_LIBM_1(double, acos)
VX_FROM_LIBM_1(double, exp)
VX_FROM_LIBM_1(double, log)
VX_FROM_LIBM_1(double, log10)
VX_FROM_LIBM_1(double, log2)
VX_FROM_LIBM_1(double, round)
VX_FROM_LIBM_1(double, sin)
VX_FROM_LIBM_1(double, sqrt)
VX_FROM_LIBM_1(double, tan)
VX_FROM_LIBM_1(float, sqrtf)
VX_FROM_LIBM_1(float, nearbyintf)
VX_FROM_LIBM_2(double, atan2)
VX_FROM_LIBM_2(double, fmod)
VX_FROM_LIBM_2(double, pow)
#undef VX_FROM_LIBM_1
#undef VX_FROM_LIBM_2

void sincos(double x, double* s, double* c) {
  static const auto libm = FromLibm<void(double, double*, double*)>("sincos");
  libm(x, s, c);
}

} // extern "C"
