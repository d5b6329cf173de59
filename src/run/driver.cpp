#include "run/driver.h"

namespace eco {

int runMain(const char*) { return 0; }

}  // namespace eco
