#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace eco {

// The 11 proportions of every percentile the system reports.
inline constexpr std::array<float, 11> kProportions = {0.01f, 0.025f, 0.05f, 0.10f,  0.25f, 0.50f,
                                                       0.75f, 0.90f,  0.95f, 0.975f, 0.99f};

// Empirical quantiles of x(1..nobs) at qprop(1..nqprop); missing values
// (NaNs) are skipped and counted in nmv. x is never modified.
void EQTIL(int32_t nobs, const float* x, int32_t nqprop, const float* qprop, float* q, float* xlo,
           float* xhi, int32_t& nmv);
// The worker, with a caller's workspace of nobs reals that it may overwrite.
void E2TIL(int32_t nobs, const float* x, int32_t nqprop, const float* qprop, float* q, float* xlo,
           float* xhi, int32_t& nmv, float* work);

// Sorts x ascending, its missing values last, when EQTIL provably computes
// the same quantiles, bounds and messages from the sorted values (which it
// reads in place, without a sort of its own) as from x as it stands: that
// is, when x holds no negative zero (a sort may move it among the positive
// zeros) and no proportion's fraction lies exactly on the negligibility
// threshold (where the in-place and the workspace rule differ). Returns
// whether it sorted; x is left as it was otherwise. Safe to call from any
// thread: it raises no message.
bool orderForQuantiles(std::span<float> x, int32_t nqprop, const float* qprop);

}  // namespace eco
