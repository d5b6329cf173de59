#include "numeric/float_sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace eco {
namespace {

// Below this many values a comparison sort is as fast.
constexpr std::size_t kRadixFrom = 256;

// The float's bits as an unsigned key in the order of the values: a
// positive float's sign bit set, a negative float's bits all flipped.
inline uint32_t keyOf(float v) {
  const uint32_t b = std::bit_cast<uint32_t>(v);
  return (b & 0x80000000u) != 0 ? ~b : b | 0x80000000u;
}
inline float valueOf(uint32_t k) {
  return std::bit_cast<float>((k & 0x80000000u) != 0 ? k & 0x7FFFFFFFu : ~k);
}

}  // namespace

// A least-significant-digit radix sort on the keys, a byte per pass; a
// pass whose byte is the same for every key is left out (most values of a
// class share their top byte).
void sortPlainFloats(std::span<float> x) {
  const std::size_t n = x.size();
  if (n < kRadixFrom) {
    std::sort(x.begin(), x.end());
    return;
  }
  std::vector<uint32_t> keys(n), other(n);
  std::array<std::array<uint32_t, 256>, 4> count{};
  for (std::size_t i = 0; i < n; ++i) {
    const uint32_t k = keyOf(x[i]);
    keys[i] = k;
    for (int p = 0; p < 4; ++p) ++count[static_cast<std::size_t>(p)][(k >> (8 * p)) & 0xFFu];
  }
  for (int p = 0; p < 4; ++p) {
    std::array<uint32_t, 256>& c = count[static_cast<std::size_t>(p)];
    const int shift = 8 * p;
    if (c[(keys[0] >> shift) & 0xFFu] == n) continue;  // one byte value throughout
    uint32_t start = 0;
    for (uint32_t& v : c) {
      const uint32_t here = v;
      v = start;
      start += here;
    }
    for (std::size_t i = 0; i < n; ++i) {
      const uint32_t k = keys[i];
      other[c[(k >> shift) & 0xFFu]++] = k;
    }
    keys.swap(other);
  }
  for (std::size_t i = 0; i < n; ++i) x[i] = valueOf(keys[i]);
}

}  // namespace eco
