#include "run/run_settings.h"

namespace eco {

std::string fixedText(const std::string& t, std::size_t n) {
  std::string r = t.substr(0, n);
  r.resize(n, ' ');
  return r;
}

std::string trimmed(const std::string& t) {
  std::size_t end = t.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : t.substr(0, end + 1);
}

}  // namespace eco
