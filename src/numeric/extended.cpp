#include "numeric/extended.h"

#include <bit>

#include "numeric/wide_uint.h"

namespace eco {

const char* extendedKind() { return ECO_NATIVE_EXTENDED ? "x87" : "software"; }

bool ensureExtendedPrecision() {
#if ECO_HAS_X87_EXTENDED
  // Also where the software model is forced: the x87 unit then computes
  // nothing of the model, but the setting costs nothing.
  const uint16_t cw = x87ControlWord();
  const uint16_t want = static_cast<uint16_t>((cw & ~0x0F00u) | 0x0300u);
  if (cw == want) return true;
  setX87ControlWord(want);
  return false;
#else
  return true;
#endif
}

namespace {

using Wide = WideUint<6>;

// Whether x = m x 2^e lies below ((2 r + 1) x 2^(f - 1))^4, the fourth
// power of the midpoint above r x 2^f (r a 64-bit significand): compares
// m x 2^(e - 4 f + 4) with (2 r + 1)^4 as integers.
bool belowUpperMidpoint(uint64_t m, int32_t e, uint64_t r, int32_t f) {
  Wide t;
  t.limb[0] = r << 1 | 1;
  t.limb[1] = r >> 63;
  const Wide t2 = multiplyWide(t, t);
  const Wide t4 = multiplyWide(t2, t2);  // < 2^260
  Wide x;
  x.limb[0] = m;
  const int32_t g = e - 4 * f + 4;
  if (g >= 0) {
    if (g >= 6 * 64 - 64) return false;  // far above
    return lessWide(shiftLeftWide(x, g), t4);
  }
  if (-g >= 6 * 64 - 264) return true;  // far below
  return lessWide(x, shiftLeftWide(t4, -g));
}

}  // namespace

SoftExtended fourthRootSoft(float x) {
  const SoftExtended sx(x);
  if (sx.kind == SoftExtended::kNaN) return sx;
  if (sx.kind == SoftExtended::kZero) return SoftExtended{};
  if (sx.kind == SoftExtended::kInfinity) return SoftExtended(x < 0 ? -x : x);
  if (sx.neg) return sqrt(SoftExtended(-1));  // NaN
  // x = m x 2^e with m an integer of at most 24 bits.
  const int lead = std::countl_zero(sx.sig);
  const uint64_t m = (sx.sig << lead) >> 40;
  const int32_t e = sx.exp - lead - 23;
  // The root of the root is within a few units of the true root; step to
  // the 64-bit value whose rounding interval holds it (no fourth root of a
  // float lies on a midpoint: a midpoint's fourth power has more than 24
  // significant bits).
  const SoftExtended guess = sqrt(sqrt(sx));
  uint64_t r = guess.sig;
  int32_t f = guess.exp - 63;
  for (;;) {
    if (!belowUpperMidpoint(m, e, r, f)) {  // too low
      if (++r == 0) {
        r = uint64_t{1} << 63;
        ++f;
      }
      continue;
    }
    uint64_t below = r - 1;
    int32_t fb = f;
    if (r == uint64_t{1} << 63) {
      below = ~uint64_t{0};
      --fb;
    }
    if (belowUpperMidpoint(m, e, below, fb)) {  // too high
      r = below;
      f = fb;
      continue;
    }
    break;
  }
  SoftExtended root;
  root.kind = SoftExtended::kFinite;
  root.sig = r;
  root.exp = f + 63;
  return root;
}

Extended fourthRoot(float x) {
#if ECO_NATIVE_EXTENDED
  return nativeOf(imageOf(fourthRootSoft(x)));
#else
  return fourthRootSoft(x);
#endif
}

}  // namespace eco
