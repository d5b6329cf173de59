#pragma once
// splitmix64, the tests' source of random inputs: small, fast and the same
// everywhere, so that a seed names the same inputs on every machine.

#include <cstdint>

namespace eco::test {

inline uint64_t splitmix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace eco::test
