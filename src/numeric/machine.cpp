#include "numeric/machine.h"

#include <array>
#include <bit>
#include <cmath>
#include <ostream>
#include <string>

#include "numeric/errors.h"

namespace eco {
namespace {

constexpr std::array<uint32_t, 8> kRealBits = {0x00800000u, 0x7F7FFFFFu, 0x33800000u, 0x34000000u,
                                               0x3E9A209Bu, 0x7FC00000u, 0x7F800000u, 0xFF800000u};

constexpr std::array<int32_t, 12> kIntegers = {32, 4,    2,   31, 2147483647, 2,
                                               24, -125, 128, 53, -1021,      1024};

// Unit numbers: standard input, standard output, error messages.
std::array<int32_t, 3> units = {5, 6, 6};

// Offset of the i-th visited element (1-based) of a strided vector of n
// elements; a negative stride walks the storage from its far end.
inline int64_t offset(int32_t i, int32_t n, int32_t inc) {
  return inc >= 0 ? int64_t{i - 1} * inc : (int64_t{i} - n) * inc;
}

}  // namespace

float AMACH(int32_t n) {
  if (n < 1 || n > 8) {
    E1PSH("AMACH ");
    E1VALI(1, n);
    E1MES(5, 5, "The argument must be between 1 and 8 inclusive. N = %(I1)");
    E1POP("AMACH ");
    return std::bit_cast<float>(kRealBits[5]);
  }
  return std::bit_cast<float>(kRealBits[n - 1]);
}

int32_t IMACH(int32_t n) {
  if (n < 1 || n > 12) {
    std::ostream& out = errorStream();
    out << '\n'
        << " *** TERMINAL ERROR 5 from IMACH.  The argument\n"
        << " ***          must be between 1 and 12 inclusive.\n"
        << " ***          N = " << field6(n) << ".\n"
        << '\n';
    out.flush();
    stopRun();
  }
  return kIntegers[n - 1];
}

void UMACH(int32_t n, int32_t& nunit) {
  const int64_t index = n < 0 ? -int64_t{n} : int64_t{n};
  if (index < 1 || index > 3) {
    std::ostream& out = errorStream();
    out << '\n'
        << " *** TERMINAL ERROR 5 from UMACH.  The absolute\n"
        << " ***          value of the index variable must be\n"
        << " ***          1, 2, or 3.  IABS(N) = " << field6(index) << ".\n"
        << '\n';
    out.flush();
    stopRun();
  }
  if (n > 0) {
    nunit = units[n - 1];
  } else {
    units[-n - 1] = nunit;
  }
}

bool isMissing(float x) {
  const uint32_t bits = std::bit_cast<uint32_t>(x);
  return (bits & 0x7F800000u) == 0x7F800000u && (bits & 0x007FFFFFu) != 0;
}

int32_t ISANAN(int32_t n, const float* x, int32_t incx) {
  if (n < 0) {
    E1PSH("ISANAN");
    E1VALI(1, n);
    E1MES(5, 1, " The length of the input vector is %(I1).  The length must be non-negative.");
    E1POP("ISANAN");
    return 0;
  }
  if (incx < 0) {
    E1PSH("ISANAN");
    E1VALI(1, incx);
    E1MES(5, 2,
          " The length of the incrementation of the input vector is %(I1).  The "
          "incrementation must be non-negative.");
    E1POP("ISANAN");
    return 0;
  }
  if (n == 0 || incx == 0) return 0;
  for (int32_t i = 1; i <= n; ++i) {
    if (isMissing(x[int64_t{i - 1} * incx])) return i;
  }
  return 0;
}

void U1MVV(int32_t nobs, float* x, int32_t& nmv) {
  E1PSH("U1MVV ");
  nmv = 0;
  if (nobs < 1) {
    E1VALI(1, nobs);
    E1MES(5, 1, "NOBS = %(I1).  NOBS must be greater than 0.");
    E1POP("U1MVV ");
    return;
  }
  auto at = [x](int32_t i) -> float& { return x[i - 1]; };  // x(i), 1-based
  int32_t i = ISANAN(nobs, x, 1);
  if (i != 0) {
    int32_t j = nobs;
    const float missing = AMACH(6);
    while (true) {
      if (isMissing(at(j))) {
        ++nmv;
        --j;
        if (j < i) break;
      } else {
        // Everything before the last gap is present (it was the first
        // missing position and has just been filled), so the search for
        // the first missing value of x(1..j) may start there.
        const int32_t rel = ISANAN(j - i + 1, x + (i - 1), 1);
        if (rel == 0) break;
        i += rel - 1;
        ++nmv;
        at(i) = at(j);
        at(j) = missing;
        --j;
      }
    }
  }
  E1POP("U1MVV ");
}

void SSET(int32_t n, float value, float* x, int32_t incx) {
  for (int32_t i = 1; i <= n; ++i) x[offset(i, n, incx)] = value;
}

void SCOPY(int32_t n, const float* x, int32_t incx, float* y, int32_t incy) {
  for (int32_t i = 1; i <= n; ++i) y[offset(i, n, incy)] = x[offset(i, n, incx)];
}

int32_t ISAMAX(int32_t n, const float* x, int32_t incx) {
  if (n <= 0) return 0;
  int32_t best = 1;
  float big = std::fabs(x[offset(1, n, incx)]);
  for (int32_t i = 2; i <= n; ++i) {
    const float v = std::fabs(x[offset(i, n, incx)]);
    if (v > big) {
      big = v;
      best = i;
    }
  }
  return best;
}

int32_t ISAMIN(int32_t n, const float* x, int32_t incx) {
  if (n <= 0) return 0;
  int32_t best = 1;
  float small = std::fabs(x[offset(1, n, incx)]);
  for (int32_t i = 2; i <= n; ++i) {
    const float v = std::fabs(x[offset(i, n, incx)]);
    if (v < small) {
      small = v;
      best = i;
    }
  }
  return best;
}

}  // namespace eco
