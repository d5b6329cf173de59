// The software extended format against the x87 unit, bit for bit, and the
// correctly rounded fourth root against MPFR.

#include "numeric/extended.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "numeric/native_extended.h"
#include "numeric/soft_extended.h"
#include "stats/long_tests.h"
#include "support/splitmix.h"

#ifdef ECO_HAVE_MPFR
#include <mpfr.h>
#endif

namespace eco::extended_test {
namespace {

using test::inputs;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Rng {
  uint64_t s;
  uint64_t next() { return test::splitmix(s); }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
  float anyFloat() {
    const auto b = static_cast<uint32_t>(next());
    float f;
    std::memcpy(&f, &b, sizeof f);
    return f;
  }
  double anyDouble() {
    const uint64_t b = next();
    double d;
    std::memcpy(&d, &b, sizeof d);
    return d;
  }
  // A float of random significand and sign with an exponent in [lo, hi).
  float scaled(int lo, int hi) {
    const float m = static_cast<float>((next() >> 40) | (1u << 23)) * 0x1p-23f;
    return (next() & 1 ? -1.0f : 1.0f) * std::ldexp(m, lo + below(hi - lo));
  }
};

// What both formats evaluate alike, written once for either.
template <class E>
struct Shapes {
  static float addProduct(float acc, float a, float b) {
    return static_cast<float>(E(acc) + E(a) * b);
  }
  static float diffPow4(float p, float r) {
    const E p2 = E(p) * p, r2 = E(r) * r;
    return static_cast<float>(p2 * p2 - r2 * r2);
  }
  static float pow4(float x) {
    const E sq = E(x) * x;
    return static_cast<float>(sq * sq);
  }
  static float root4(float x) { return static_cast<float>(sqrt(sqrt(E(x)))); }
  // The similarity: three running sums, 2 m / (a + b), a contribution.
  static float similarity(const float* x, const float* y, int n, float& contribution) {
    E m = 0, a = 0, b = 0;
    for (int s = 0; s < n; ++s) {
      m += x[s] > y[s] ? y[s] : x[s];
      a += x[s];
      b += y[s];
    }
    const E total = a + b;
    contribution = static_cast<float>(std::fabs(x[0] - y[0]) / total);
    return static_cast<float>(2 * m / total);
  }
  static float variance(float sumsq, float mean, float n) {
    const E m = mean;
    return static_cast<float>((E(sumsq) - m * m * n) / (E(n) - 1));
  }
  static float classTarget(int32_t k, float meansurf) {
    return static_cast<float>((E(k) - 0.5) * meansurf);
  }
  static float reportTarget(float sumsurf, float meansurf) {
    return static_cast<float>(sumsurf - E(0.5) * meansurf);
  }
  static double classQuotient(float S, float meansurf) {
    return static_cast<double>(E(S) / meansurf + 0.5);
  }
  static int64_t station(int32_t n, float r) { return truncToInt64(E(n) * r); }
};

uint32_t bitsOf(float x) {
  uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}
uint64_t bitsOf(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}
// Equal bits, any NaN equal to any other (no output tells NaNs apart).
template <class T>
bool same(T a, T b) {
  return std::isnan(a) ? std::isnan(b) : bitsOf(a) == bitsOf(b);
}

TEST(FourthRoot, ExactRootsAndSpecialValues) {
  const struct {
    float x;
    double root;
  } cases[] = {{16.0f, 2.0}, {81.0f, 3.0}, {0x1p-148f, 0x1p-37}, {0x1p124f, 0x1p31},
               {0.0f, 0.0},  {-0.0f, 0.0}, {kInf, HUGE_VAL},     {-kInf, HUGE_VAL},
               {-1.0f, NAN}, {kNaN, NAN},  {-0x1p-149f, NAN},    {1.0f, 1.0}};
  for (const auto& c : cases) {
    const double got = static_cast<double>(fourthRoot(c.x));
    EXPECT_TRUE(same(got, c.root)) << c.x << " gives " << got;
    if (c.root == 0.0) {
      EXPECT_FALSE(std::signbit(got)) << c.x;
    }
  }
}

#if ECO_HAS_X87_EXTENDED

using Soft = SoftExtended;
using Native = NativeExtended;

bool same(const Soft& s, const Native& n) {
  if (isNaN(s) || isNaN(n)) return isNaN(s) && isNaN(n);
  const ExtendedImage a = imageOf(s), b = imageOf(n);
  return a.significand == b.significand && a.signExponent == b.signExponent;
}

std::string show(const Native& n) {
  const ExtendedImage im = imageOf(n);
  char text[64];
  std::snprintf(text, sizeof text, "%04x:%016llx", im.signExponent,
                static_cast<unsigned long long>(im.significand));
  return text;
}

// One operand in both formats, made the same way in each.
struct Operand {
  Soft soft;
  Native native;
};

// Operands of every kind the program meets and the format's edges: any
// float or double (subnormals, infinities, NaN), integers, sums with a full
// 64-bit significand, values beside a float midpoint by a few units of the
// 64-bit significand, and values near the extended format's own overflow
// and underflow (powers of 16 of doubles).
Operand operand(Rng& rng) {
  auto both = [](auto x) { return Operand{Soft(x), Native(x)}; };
  auto sum = [](const Operand& a, const Operand& b) {
    return Operand{a.soft + b.soft, a.native + b.native};
  };
  auto product = [](const Operand& a, const Operand& b) {
    return Operand{a.soft * b.soft, a.native * b.native};
  };
  switch (rng.below(8)) {
    case 0:
      return both(rng.anyFloat());
    case 1:
      return both(rng.anyDouble());
    case 2:
      return both(static_cast<int64_t>(rng.next()) >> rng.below(64));
    case 3: {  // a float plus a double up to 80 binades below it
      const float a = rng.scaled(-126, 127);
      const double b = std::ldexp(static_cast<double>(rng.scaled(-20, 20)), -rng.below(80)) * a;
      return sum(both(a), both(b));
    }
    case 4: {  // a float midpoint, moved by a few units of 2^-64 of it
      const float a = rng.scaled(-100, 100);
      const double mid = static_cast<double>(a) + std::ldexp(std::fabs(a), -24);
      const double nudge = std::ldexp(mid, -63) * (rng.below(7) - 3);
      return sum(both(mid), both(nudge));
    }
    case 5:
      return product(both(rng.anyDouble()), both(rng.anyDouble()));
    case 6: {
      Operand x = both(std::ldexp(1.0 + static_cast<double>(rng.next() >> 11) * 0x1p-53,
                                  rng.below(2046) - 1023));
      for (int i = 0; i < 4; ++i) x = product(x, x);
      return x;
    }
    default: {
      const float specials[] = {0.0f,      -0.0f,     kInf,    -kInf, kNaN,
                                0x1p-149f, 0x1p-126f, 3.4e38f, 1.0f,  -1.0f};
      return both(specials[rng.below(10)]);
    }
  }
}

TEST(SoftExtended, EveryOperationAsTheX87Unit) {
  Rng rng{2024};
  const long n = inputs(60000, 100000000);
  for (long i = 0; i < n; ++i) {
    const Operand a = operand(rng), b = operand(rng);
    // Operands are themselves built by operations: check them first.
    ASSERT_TRUE(same(a.soft, a.native)) << i << " operand " << show(a.native);
    const struct {
      Soft soft;
      Native native;
      const char* op;
    } results[] = {{a.soft + b.soft, a.native + b.native, "+"},
                   {a.soft - b.soft, a.native - b.native, "-"},
                   {a.soft * b.soft, a.native * b.native, "*"},
                   {a.soft / b.soft, a.native / b.native, "/"},
                   {sqrt(a.soft), sqrt(a.native), "sqrt"}};
    for (const auto& r : results) {
      ASSERT_TRUE(same(r.soft, r.native))
          << show(a.native) << " " << r.op << " " << show(b.native) << " = " << show(r.native);
    }
    ASSERT_TRUE(same(static_cast<float>(a.soft), static_cast<float>(a.native))) << show(a.native);
    ASSERT_TRUE(same(static_cast<double>(a.soft), static_cast<double>(a.native))) << show(a.native);
    ASSERT_EQ(truncToInt64(a.soft), truncToInt64(a.native)) << show(a.native);
    ASSERT_EQ(a.soft < b.soft, a.native < b.native) << show(a.native) << " " << show(b.native);
    ASSERT_EQ(a.soft == b.soft, a.native == b.native) << show(a.native) << " " << show(b.native);
    ASSERT_EQ(a.soft <= a.soft, a.native <= a.native) << show(a.native);
  }
}

// The program's formulas on inputs of the kinds they see, the tie cases
// made on purpose: sums that land on a float midpoint in double, nearly
// cancelling fourth-power differences, wide exponent spreads.
TEST(SoftExtended, TheProgramsFormulasAsTheX87Unit) {
  using S = Shapes<Soft>;
  using N = Shapes<Native>;
  Rng rng{77};
  const long n = inputs(40000, 50000000);
  for (long i = 0; i < n; ++i) {
    const float a = rng.scaled(-149, 127), b = rng.scaled(-60, 60), c = rng.scaled(-60, 60);
    ASSERT_TRUE(same(S::addProduct(a, b, c), N::addProduct(a, b, c))) << a << " " << b << " " << c;
    // A product of half a unit of acc, plus or minus a trace: the double sum
    // lands on a midpoint that the extended one does not.
    const float acc = std::fabs(rng.scaled(-60, 60));
    const float half = std::ldexp(acc, -24) * (1.0f + std::ldexp(1.0f, -rng.below(24)));
    ASSERT_TRUE(
        same(S::addProduct(acc, half, 1.0f + 0x1p-23f), N::addProduct(acc, half, 1.0f + 0x1p-23f)))
        << acc;
    const float p = std::fabs(rng.scaled(-40, 40));
    const float r = rng.below(2) ? std::nextafter(p, 0.0f) : std::fabs(rng.scaled(-40, 40));
    ASSERT_TRUE(same(S::diffPow4(p, r), N::diffPow4(p, r))) << p << " " << r;
    ASSERT_TRUE(same(S::pow4(a), N::pow4(a))) << a;
    ASSERT_TRUE(same(S::root4(std::fabs(a)), N::root4(std::fabs(a)))) << a;
    float x[8], y[8];
    for (int s = 0; s < 8; ++s) {
      x[s] = std::fabs(rng.scaled(-30, 30));
      y[s] = rng.below(3) == 0 ? 0.0f : std::fabs(rng.scaled(-30, 30));
    }
    float cs = 0, cn = 0;
    ASSERT_TRUE(same(S::similarity(x, y, 8, cs), N::similarity(x, y, 8, cn)));
    ASSERT_TRUE(same(cs, cn));
    const float mean = std::fabs(c), count = static_cast<float>(1 + rng.below(40));
    const float sumsq = mean * mean * count * (1.0f + std::ldexp(1.0f, -rng.below(30)));
    ASSERT_TRUE(same(S::variance(sumsq, mean, count), N::variance(sumsq, mean, count)));
    const int32_t k = 1 + rng.below(1 << 30);
    ASSERT_TRUE(same(S::classTarget(k, mean), N::classTarget(k, mean))) << k << " " << mean;
    ASSERT_TRUE(same(S::reportTarget(std::fabs(b), mean), N::reportTarget(std::fabs(b), mean)));
    ASSERT_TRUE(same(S::classQuotient(std::fabs(b), mean), N::classQuotient(std::fabs(b), mean)));
    const float u = static_cast<float>(rng.next() >> 40) * 0x1p-24f;
    ASSERT_EQ(S::station(k, u), N::station(k, u)) << k << " " << u;
  }
  // The special values through the same formulas.
  const float specials[] = {0.0f, -0.0f, kInf, -kInf, kNaN, 0x1p-149f, 3.4e38f, 1.0f};
  for (float p : specials) {
    for (float q : specials) {
      EXPECT_TRUE(same(S::addProduct(p, q, q), N::addProduct(p, q, q))) << p << " " << q;
      EXPECT_TRUE(same(S::diffPow4(p, q), N::diffPow4(p, q))) << p << " " << q;
      EXPECT_TRUE(same(S::variance(p, q, 1.0f), N::variance(p, q, 1.0f))) << p << " " << q;
      EXPECT_TRUE(same(S::classQuotient(p, q), N::classQuotient(p, q))) << p << " " << q;
    }
  }
}

// Every positive float in the long run, one in 16411 in the default one.
TEST(SoftExtended, RootAndPowerOfEveryPositiveFloat) {
  const uint32_t step = test::longTests() ? 1 : 16411;
  for (uint32_t b = 1; b < 0x7F800000u; b += step) {
    float x;
    std::memcpy(&x, &b, sizeof x);
    ASSERT_TRUE(same(Shapes<Soft>::root4(x), Shapes<Native>::root4(x))) << x;
    ASSERT_TRUE(same(Shapes<Soft>::pow4(x), Shapes<Native>::pow4(x))) << x;
  }
}

// The power grade's root against glibc's powl(x, 0.25) on the x87 unit:
// powl is faithful (within one unit of the 64-bit significand), not
// correctly rounded. The long run counts the floats where the two differ.
TEST(FourthRoot, WithinOneUnitOfPowl) {
  const uint32_t step = test::longTests() ? 1 : 65537;
  uint64_t differ = 0, tried = 0;
  for (uint32_t b = 1; b < 0x7F800000u; b += step) {
    float x;
    std::memcpy(&x, &b, sizeof x);
    const ExtendedImage mine = imageOf(fourthRootSoft(x));
    const ExtendedImage theirs = imageOf(Native::of(std::pow(static_cast<long double>(x), 0.25L)));
    ++tried;
    if (mine.significand == theirs.significand && mine.signExponent == theirs.signExponent) {
      continue;
    }
    ++differ;
    // One unit apart, across a binade boundary included.
    const Native gap = Native::of(std::fabs(nativeOf(mine).v - nativeOf(theirs).v));
    ASSERT_LE(gap.v, std::ldexp(std::fabs(nativeOf(mine).v), -63)) << x;
  }
  RecordProperty("floats", static_cast<int>(tried));
  RecordProperty("powl_differs", static_cast<int>(differ));
  std::printf("powl(x, 0.25) differs from the correctly rounded root for %llu of %llu floats\n",
              static_cast<unsigned long long>(differ), static_cast<unsigned long long>(tried));
}

// A thread started at 53-bit precision (as Windows starts them) computes
// the model's results only once ensureExtendedPrecision has run.
TEST(ExtendedPrecision, ControlWordBroughtTo64BitsAndNearest) {
  const uint16_t saved = x87ControlWord();
  setX87ControlWord(static_cast<uint16_t>((saved & ~0x0F00u) | 0x0600u));  // 53 bits, downwards
  volatile double small = 0x1p-60;  // kept from the compiler's folding
  const Native one(1.0), tiny(static_cast<double>(small));
  const bool lost = (one + tiny) == one;
  const bool changed = !ensureExtendedPrecision();
  const bool kept = (one + tiny) != one;
  const bool steady = ensureExtendedPrecision();
  setX87ControlWord(saved);
  EXPECT_TRUE(lost);
  EXPECT_TRUE(changed);
  EXPECT_TRUE(kept);
  EXPECT_TRUE(steady);
}

#endif  // ECO_HAS_X87_EXTENDED

#ifdef ECO_HAVE_MPFR
// The correctly rounded root against MPFR's at 64 bits, to nearest.
TEST(FourthRoot, CorrectlyRoundedAsMpfr) {
  mpfr_t x, r;
  mpfr_init2(x, 24);
  mpfr_init2(r, 64);
  const uint32_t step = test::longTests() ? 1 : 32749;
  for (uint32_t b = 1; b < 0x7F800000u; b += step) {
    float f;
    std::memcpy(&f, &b, sizeof f);
    mpfr_set_flt(x, f, MPFR_RNDN);
    mpfr_rootn_ui(r, x, 4, MPFR_RNDN);
    mpfr_exp_t e = 0;
    mpfr_t m;
    mpfr_init2(m, 64);
    mpfr_set(m, r, MPFR_RNDN);
    e = mpfr_get_exp(m);  // r = 0.1xxx x 2^e
    mpfr_set_exp(m, 64);  // now an integer of 64 bits
    const uint64_t sig = mpfr_get_uj(m, MPFR_RNDN);
    mpfr_clear(m);
    const SoftExtended mine = fourthRootSoft(f);
    ASSERT_EQ(mine.sig, sig) << f;
    ASSERT_EQ(mine.exp, static_cast<int32_t>(e) - 1) << f;
  }
  mpfr_clear(x);
  mpfr_clear(r);
}
#endif

}  // namespace
}  // namespace eco::extended_test
