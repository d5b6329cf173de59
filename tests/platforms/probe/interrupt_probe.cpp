// Started in an empty folder: leaves an earlier result in kept.ASS, opens
// kept.ASS and new.SIM as output files of a run, writes into both, and is
// then interrupted the way the system interrupts a program (Ctrl-C) while
// its main thread goes on working. The folder must afterwards hold kept.ASS
// with its earlier content and nothing else; the exit status is that of an
// interrupted program. Exit status 3 or 4: the probe itself went wrong.

#include <chrono>
#include <fstream>
#include <thread>

#include "output/output_files.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/interrupt.h"

int main() {
  using namespace eco;
  platform::prepareStandardStreams();
  {
    std::ofstream earlier(platform::pathOf("kept.ASS"), std::ios::binary);
    earlier << "earlier result\r\n";
  }
  try {
    std::ofstream report, table;
    if (!openOutputFile(registeredOutputFiles(), "kept.ASS", report) ||
        !openOutputFile(registeredOutputFiles(), "new.SIM", table))
      return 3;
    report << "half a report";
    table << "half a table";
    report.flush();
    table.flush();
    platform::deliverInterrupt();
    for (int i = 0; i < 2000; ++i) {
      platform::interruptionPoint();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 4;
  } catch (const platform::Interrupted&) {
    discardOutputFiles(registeredOutputFiles());
    platform::endInterrupted();
  }
}
