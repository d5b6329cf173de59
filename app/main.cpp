#include "platform/console.h"
#include "run/driver.h"

int main(int argc, char** argv) {
  eco::platform::prepareStandardStreams();
  return eco::runMain(eco::platform::commandLineArguments(argc, argv));
}
