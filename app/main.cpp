#include "run/driver.h"

int main(int argc, char** argv) { return eco::runMain(argc > 1 ? argv[1] : nullptr); }
