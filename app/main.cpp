#include "platform/console.h"
#include "run/driver.h"

int main(int argc, char** argv) {
  if (!eco::storageToStart()) {
    eco::tellNoStorage();
    return 1;
  }
  eco::platform::prepareStandardStreams();
  return eco::runMain(eco::platform::commandLineArguments(argc, argv));
}
