#include "numeric/quantile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "numeric/errors.h"
#include "numeric/float_sort.h"
#include "numeric/machine.h"
#include "numeric/sort.h"

namespace eco {
namespace {

constexpr char kAllMissing[] =
    "All of the observations are missing values.  The elements of Q, XLO and XHI have been set "
    "to NaN (not a number).";
constexpr char kNobsMessage[] = "NOBS = %(I1).  There must be at least one observation.";

struct OrderScan {
  bool inOrder;
  int32_t count;  // missing values; negative when one stands before a present value
  bool ready() const { return inOrder && count >= 0; }
};

OrderScan scanOrder(int32_t nobs, const float* x) {
  int32_t c = 0;
  int32_t sign = 1;
  float previous = AMACH(8);
  for (int32_t i = 0; i < nobs; ++i) {
    const float v = x[i];
    if (isMissing(v)) {
      ++c;
    } else if (v < previous) {
      return {false, c * sign};
    } else {
      previous = v;
      if (c > 0) sign = -1;
    }
  }
  return {true, c * sign};
}

void fillMissing(int32_t nqprop, float* q, float* xlo, float* xhi) {
  const float nan = AMACH(6);
  SSET(nqprop, nan, q, 1);
  SSET(nqprop, nan, xlo, 1);
  SSET(nqprop, nan, xhi, 1);
}

// Position (n + 1) x p of the ordered sample: t rounded to float, and k the
// integer part of t + t x e in double, so that a t lying just below an
// integer is taken as that integer.
struct Position {
  float t;
  int64_t k;
};

Position positionOf(int32_t n, float p) {
  const float e = AMACH(4);
  const float t = static_cast<float>(n + 1) * p;
  const double sum = static_cast<double>(t) + static_cast<double>(t) * static_cast<double>(e);
  return {t, static_cast<int64_t>(sum)};
}

// The quantile rule on the ascending values x(1..n) (x points at x(1)).
// The in-place path takes a fraction as negligible only when e x k > |f|,
// the workspace path already when e x k >= |f|.
void applyRule(int32_t n, const float* x, int32_t nqprop, const float* qprop, float* q, float* xlo,
               float* xhi, bool strict) {
  const float e = AMACH(4);
  const float close = AMACH(3);
  auto at = [x, n](int64_t i) {
    // Positions below 1 read x(1) and positions past n read x(n).
    if (i < 1) i = 1;
    if (i > n) i = n;
    return x[i - 1];
  };
  for (int32_t j = 0; j < nqprop; ++j) {
    const Position pos = positionOf(n, qprop[j]);
    const int64_t k = pos.k;
    const float f = static_cast<float>(static_cast<double>(pos.t) - static_cast<double>(k));
    const float ek = e * static_cast<float>(k);
    const float af = std::fabs(f);
    const bool negligible = strict ? ek > af : ek >= af;
    if (negligible || k == 0 || k >= n) {
      const float v = negligible ? at(k) : (k == 0 ? x[0] : x[n - 1]);
      q[j] = xlo[j] = xhi[j] = v;
      continue;
    }
    const float lo = x[k - 1];
    const float hi = x[k];
    xlo[j] = lo;
    xhi[j] = hi;
    if (std::fabs(hi - lo) < close) {
      q[j] = lo;
    } else {
      const double upper = static_cast<double>(f) * hi;
      const double lower = (1.0 - static_cast<double>(f)) * lo;
      q[j] = static_cast<float>(lower + upper);
    }
  }
}

// Orders work(1..n) as far as the rule needs: only the lower tail when all
// proportions are at most 0.2, only the upper tail when all are at least
// 0.8, else everything. The tails cover every order statistic the rule
// reads, so the quantiles equal those of the fully sorted values.
void orderWorkspace(int32_t n, float* work, int32_t nqprop, const float* qprop) {
  const float pmax = qprop[ISAMAX(nqprop, qprop, 1) - 1];
  const float pmin = qprop[ISAMIN(nqprop, qprop, 1) - 1];
  if (pmax <= 0.2f) {
    const int64_t k = positionOf(n, pmax).k;
    const int32_t m = static_cast<int32_t>(k + 1 < n ? k + 1 : n);
    SVRGP(n, work, -m, work);
  } else if (pmin >= 0.8f) {
    int64_t first = positionOf(n, pmin).k;
    if (first < 1) first = 1;
    if (first > n) first = n;
    const int32_t m = static_cast<int32_t>(n - first + 1);
    SVRGP(n, work, m, work + (n - m));
  } else {
    SVRGN(n, work, work);
  }
}

// The worker; work may be null when the caller has found x ready for use
// in place (the scan here then finds the same and never touches it).
void e2til(int32_t nobs, const float* x, int32_t nqprop, const float* qprop, float* q, float* xlo,
           float* xhi, int32_t& nmv, float* work) {
  E1PSH("E2TIL ");
  if (nobs < 1) {
    E1VALI(1, nobs);
    E1MES(5, 4, kNobsMessage);
  }
  if (nqprop < 1) {
    E1VALI(1, nqprop);
    E1MES(5, 2, "NQPROP = %(I1).  There must be at least one quantile to compute.");
  } else {
    for (int32_t j = 0; j < nqprop; ++j) {
      const float p = qprop[j];
      if (!(p > 0.0f && p < 1.0f)) {
        E1VALI(1, j + 1);
        E1VALR(1, p);
        E1MES(5, 3,
              "QPROP(%(I1)) = %(R1).  The quantile proportion must be greater than 0.0 and less "
              "than  1.0.");
        E1POP("E2TIL ");
        return;
      }
    }
  }
  if (N1RCD(0) != 0) {
    E1POP("E2TIL ");
    return;
  }

  const OrderScan scan = scanOrder(nobs, x);
  if (scan.ready()) {
    nmv = scan.count;
    const int32_t n = nobs - nmv;
    if (n < 1) {
      E1MES(3, 1, kAllMissing);
      fillMissing(nqprop, q, xlo, xhi);
    } else {
      applyRule(n, x, nqprop, qprop, q, xlo, xhi, true);
    }
  } else {
    std::vector<float> own;
    if (work == nullptr) {
      own.resize(static_cast<std::size_t>(nobs));
      work = own.data();
    }
    SCOPY(nobs, x, 1, work, 1);
    U1MVV(nobs, work, nmv);
    const int32_t n = nobs - nmv;
    orderWorkspace(n, work, nqprop, qprop);
    applyRule(n, work, nqprop, qprop, q, xlo, xhi, false);
  }
  E1POP("E2TIL ");
}

}  // namespace

bool orderForQuantiles(std::span<float> x, int32_t nqprop, const float* qprop) {
  if (nqprop < 1 || x.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
    return false;
  std::size_t present = 0;
  for (float v : x) {
    if (isMissing(v)) continue;
    if (v == 0.0f && std::signbit(v)) return false;
    ++present;
  }
  if (present == 0) return false;
  const int32_t n = static_cast<int32_t>(present);
  const float e = AMACH(4);
  for (int32_t j = 0; j < nqprop; ++j) {
    if (!(qprop[j] > 0.0f && qprop[j] < 1.0f)) return false;
    const Position pos = positionOf(n, qprop[j]);
    const float f = static_cast<float>(static_cast<double>(pos.t) - static_cast<double>(pos.k));
    if (e * static_cast<float>(pos.k) == std::fabs(f)) return false;
  }
  const auto missing =
      std::stable_partition(x.begin(), x.end(), [](float v) { return !isMissing(v); });
  sortPlainFloats(std::span<float>(x.begin(), missing));
  return true;
}

void E2TIL(int32_t nobs, const float* x, int32_t nqprop, const float* qprop, float* q, float* xlo,
           float* xhi, int32_t& nmv, float* work) {
  e2til(nobs, x, nqprop, qprop, q, xlo, xhi, nmv, work);
}

void EQTIL(int32_t nobs, const float* x, int32_t nqprop, const float* qprop, float* q, float* xlo,
           float* xhi, int32_t& nmv) {
  E1PSH("EQTIL ");
  if (nobs < 1) {
    E1VALI(1, nobs);
    E1MES(5, 4, kNobsMessage);
    E1POP("EQTIL ");
    return;
  }
  const OrderScan scan = scanOrder(nobs, x);
  if (scan.ready()) {
    nmv = scan.count;
    if (nobs - nmv < 1) {
      E1MES(3, 1, kAllMissing);
      fillMissing(nqprop, q, xlo, xhi);
    } else {
      e2til(nobs, x, nqprop, qprop, q, xlo, xhi, nmv, nullptr);
    }
  } else {
    std::vector<float> work;
    bool obtained = true;
    try {
      work.resize(static_cast<std::size_t>(nobs));
    } catch (const std::bad_alloc&) {
      obtained = false;
    }
    if (!obtained) {
      E1VALI(1, nobs);
      E1MES(5, 2,
            "The required storage cannot be allocated.  The workspace requirement is based on NOBS "
            "= %(I1)");
    } else {
      e2til(nobs, x, nqprop, qprop, q, xlo, xhi, nmv, work.data());
    }
  }
  E1POP("EQTIL ");
}

}  // namespace eco
