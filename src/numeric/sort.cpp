#include "numeric/sort.h"

#include <array>
#include <cstring>

#include "numeric/errors.h"

namespace eco {
namespace {

// Singleton's quicksort on a(1..n), 1-based (a points at element 1).
//
// The larger part of every partition is stacked and the smaller one is
// worked on, so with s segments stacked the current segment holds at most
// n / 2^s elements; a segment is only split when it holds at least two, so
// at most log2(n) <= 31 segments are ever stacked for a 32-bit n. The
// stack of 21 pairs suffices for n < 2^22; it has 32 here so that no length
// can overflow it, which leaves the order of operations (and so the result)
// unchanged for every length.
void singletonSort(float* base, int32_t n) {
  auto a = [base](int32_t i) -> float& { return base[i - 1]; };
  constexpr int kStack = 32;
  std::array<int32_t, kStack> il{}, iu{};

  float r = 0.375f;
  int32_t i = 1;
  int32_t j = n;
  int m = 1;  // m - 1 segments are stacked
  int32_t k = 0, l = 0, ij = 0;
  float t = 0.0f;

  enum class Step { segment, partition, small, pop };
  Step step = Step::segment;
  while (true) {
    switch (step) {
      case Step::segment:
        if (i == j) {
          step = Step::pop;
          break;
        }
        // r runs through dyadic fractions, so these steps are exact.
        if (r > 0.5898437f) {
          r -= 0.21875f;
        } else {
          r += 0.0390625f;
        }
        step = Step::partition;
        break;

      case Step::partition: {
        ij = i + static_cast<int32_t>(static_cast<float>(j - i) * r);
        t = a(ij);
        if (a(i) > t) {
          a(ij) = a(i);
          a(i) = t;
          t = a(ij);
        }
        l = j;
        if (a(j) < t) {
          a(ij) = a(j);
          a(j) = t;
          t = a(ij);
          if (a(i) > t) {
            a(ij) = a(i);
            a(i) = t;
            t = a(ij);
          }
        }
        k = i;
        // a(i) is not above t and a(j) not below it, so both scans stop
        // inside the segment; after an exchange the exchanged elements stop
        // the next scans in the same way.
        while (true) {
          do --l;
          while (a(l) > t);
          do ++k;
          while (a(k) < t);
          if (k > l) break;
          if (a(l) != a(k)) {
            const float tt = a(l);
            a(l) = a(k);
            a(k) = tt;
          }
        }
        if (l - i > j - k) {
          il[m - 1] = i;
          iu[m - 1] = l;
          i = k;
        } else {
          il[m - 1] = k;
          iu[m - 1] = j;
          j = l;
        }
        ++m;
        step = Step::small;
        break;
      }

      case Step::small:
        if (j - i >= 11) {
          step = Step::partition;
          break;
        }
        if (i == 1) {
          step = Step::segment;
          break;
        }
        // Straight insertion of a(i..j). The element a(i - 1) is not larger
        // than any element of the segment and would stop the shifting; the
        // bound k >= i stops it at the same place without reading it.
        for (int32_t p = i; p < j; ++p) {
          const float next = a(p + 1);
          if (next < a(p)) {
            int32_t q = p;
            do {
              a(q + 1) = a(q);
              --q;
            } while (q >= i && next < a(q));
            a(q + 1) = next;
          }
        }
        step = Step::pop;
        break;

      case Step::pop:
        --m;
        if (m == 0) return;
        i = il[m - 1];
        j = iu[m - 1];
        step = Step::small;
        break;
    }
  }
}

}  // namespace

void SVRGN(int32_t n, const float* ra, float* rb) {
  E1PSH("SVRGN ");
  if (n < 1) {
    E1VALI(1, n);
    E1MES(5, 1, "N = %(I1).  The length of RA and RB, N, must be greater than or equal to one.");
    E1POP("SVRGN ");
    return;
  }
  if (rb != ra) std::memmove(rb, ra, sizeof(float) * static_cast<std::size_t>(n));
  singletonSort(rb, n);
  E1POP("SVRGN ");
}

void SVRGP(int32_t n, float* ra, int32_t k, float* rb) {
  if (n <= 0 || k == 0) return;
  // More values than there are cannot be selected.
  const int32_t count = k < 0 ? (k < -n ? n : -k) : (k > n ? n : k);
  auto a = [ra](int32_t i) -> float& { return ra[i - 1]; };
  auto b = [rb](int32_t i) -> float& { return rb[i - 1]; };
  if (k < 0) {
    for (int32_t i = 1; i <= count; ++i) {
      float v = a(i);
      int32_t p = i;
      for (int32_t s = i + 1; s <= n; ++s) {
        if (a(s) < v) {
          v = a(s);
          p = s;
        }
      }
      a(p) = a(i);
      b(i) = v;
    }
  } else {
    int32_t q = n;
    for (int32_t i = count; i >= 1; --i, --q) {
      float v = a(q);
      int32_t p = q;
      for (int32_t s = 1; s < q; ++s) {
        if (a(s) > v) {
          v = a(s);
          p = s;
        }
      }
      a(p) = a(q);
      b(i) = v;
    }
  }
}

}  // namespace eco
