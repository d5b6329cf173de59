#pragma once
#include <cstdint>

namespace eco {

// rb(1..n) = ra(1..n) in ascending order (Singleton's quicksort); rb may be ra.
void SVRGN(int32_t n, const float* ra, float* rb);

// Partial selection sort: k < 0 puts the |k| smallest values ascending into
// rb(1..|k|); k > 0 the k largest ascending into rb(1..k). ra is changed; rb
// may alias ra (rb = ra for k < 0, rb = ra + n - k for k > 0).
void SVRGP(int32_t n, float* ra, int32_t k, float* rb);

}  // namespace eco
