#include "run/run_settings.h"

namespace eco {

std::string fixedText(const std::string& t, std::size_t n) {
  std::string r = t.substr(0, n);
  r.resize(n, ' ');
  return r;
}

}  // namespace eco
