#pragma once
// Extended: the evaluation model's extended precision, a 64-bit significand
// rounded to nearest with ties to even at every step. On x86 with an 80-bit
// long double it is the x87 unit itself (NativeExtended); elsewhere, or when
// the build defines ECO_SOFT_EXTENDED, the exact software model
// (SoftExtended). Both give the same bits for every operation, so the
// program writes the same bytes on every platform.
//
// The interface, the same for both: construction from float, double,
// int32_t and int64_t (exact); explicit conversion to float and double
// (rounded once); + - * / and comparisons; sqrt, truncToInt64, isNaN.
// There is no conversion from or to long double: code outside this
// folder never names that type.

#include "numeric/native_extended.h"
#include "numeric/soft_extended.h"

#if ECO_HAS_X87_EXTENDED && !defined(ECO_SOFT_EXTENDED)
#define ECO_NATIVE_EXTENDED 1
#else
#define ECO_NATIVE_EXTENDED 0
#endif

namespace eco {

#if ECO_NATIVE_EXTENDED
using Extended = NativeExtended;
#else
using Extended = SoftExtended;
#endif

// Which of the two the build computes with ("x87" or "software").
const char* extendedKind();

// Puts the calling thread's floating-point unit into the state the model
// assumes (on x87: precision control at 64 bits, rounding to nearest) and
// returns false when it had to change it. Every thread that computes calls
// it first; a no-op for the software model.
bool ensureExtendedPrecision();

// The fourth root of x, correctly rounded to the 64-bit significand: the
// power grade's root. +0 for -0 and +0, +infinity for both infinities (as
// the general power function gives them), NaN for NaN and x < 0.
Extended fourthRoot(float x);
SoftExtended fourthRootSoft(float x);

}  // namespace eco
