#pragma once
// Machine constants, the missing-value tests and the vector helpers of the
// numerical routines. Arrays are passed as pointers to their first element
// and indexed 1-based in the comments, as the callers think of them.

#include <cstdint>

namespace eco {

float AMACH(int32_t n);    // single-precision constants 1..8 (6: quiet NaN 0x7FC00000)
int32_t IMACH(int32_t n);  // integer constants 1..12
// n = 1..3: nunit receives unit n; n = -1..-3: unit |n| is set to nunit.
void UMACH(int32_t n, int32_t& nunit);

// The scalar missing-value test: a NaN bit pattern (infinities are values).
bool isMissing(float x);
// Position of the first missing value among x(1), x(1+incx), ... (n elements).
int32_t ISANAN(int32_t n, const float* x, int32_t incx);
// Moves every missing value of x(1..nobs) behind the present ones; counts them.
void U1MVV(int32_t nobs, float* x, int32_t& nmv);

void SSET(int32_t n, float value, float* x, int32_t incx);                    // vector fill
void SCOPY(int32_t n, const float* x, int32_t incx, float* y, int32_t incy);  // vector copy
int32_t ISAMAX(int32_t n, const float* x, int32_t incx);  // first of largest magnitude
int32_t ISAMIN(int32_t n, const float* x, int32_t incx);  // first of smallest magnitude

}  // namespace eco
