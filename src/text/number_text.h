#pragma once
// A float as the shortest decimal text that reads back as the same float
// ("0.1", "1e+20", "inf", "nan"): how messages and the written survey files
// show a value the user gave.

#include <charconv>
#include <string>

namespace eco {

inline std::string shortestText(float value) {
  char buf[32];
  const auto out = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, out.ptr);
}

}  // namespace eco
