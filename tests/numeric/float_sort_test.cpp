#include "numeric/float_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace eco {
namespace {

// A float of random bits, never NaN and never negative zero.
float plainFloat(std::mt19937& rng) {
  for (;;) {
    const float v = std::bit_cast<float>(static_cast<uint32_t>(rng()));
    if (v == v && std::bit_cast<uint32_t>(v) != 0x80000000u) return v;
  }
}

struct Shape {
  const char* name;
  std::function<float(std::mt19937&, std::size_t)> value;
};

// Every shape at sizes around the point where the sort changes method, the
// result compared bit for bit with std::sort's.
TEST(FloatSort, SameBitsAsAComparisonSort) {
  const float inf = std::numeric_limits<float>::infinity();
  const Shape shapes[] = {
      {"any bits", [](std::mt19937& r, std::size_t) { return plainFloat(r); }},
      {"similarities in [0, 1]",
       [](std::mt19937& r, std::size_t) { return std::uniform_real_distribution<float>(0, 1)(r); }},
      {"few distinct values", [](std::mt19937& r, std::size_t) { return float(r() % 5) * 0.25f; }},
      {"all equal", [](std::mt19937&, std::size_t) { return 3.5f; }},
      {"one byte differs",  // every pass but the lowest left out
       [](std::mt19937& r, std::size_t) {
         return std::bit_cast<float>(static_cast<uint32_t>(0x42000000u | (r() & 0xFFu)));
       }},
      {"signs, zeros, infinities, subnormals",
       [inf](std::mt19937& r, std::size_t) {
         const float pick[] = {0.0f,
                               inf,
                               -inf,
                               1e-45f,
                               -1e-45f,
                               1e-40f,
                               -2.5f,
                               2.5f,
                               std::numeric_limits<float>::max(),
                               -std::numeric_limits<float>::max()};
         return pick[r() % 10];
       }},
      {"descending", [](std::mt19937&, std::size_t i) { return 1e6f - static_cast<float>(i); }},
  };
  std::mt19937 rng(7);
  for (const Shape& shape : shapes) {
    for (std::size_t n : {0, 1, 2, 17, 255, 256, 257, 2000, 5003}) {
      std::vector<float> x(n);
      for (std::size_t i = 0; i < n; ++i) x[i] = shape.value(rng, i);
      std::vector<float> want = x;
      std::sort(want.begin(), want.end());
      sortPlainFloats(x);
      for (std::size_t i = 0; i < n; ++i) {
        ASSERT_EQ(std::bit_cast<uint32_t>(x[i]), std::bit_cast<uint32_t>(want[i]))
            << shape.name << " n " << n << " at " << i;
      }
    }
  }
}

}  // namespace
}  // namespace eco
