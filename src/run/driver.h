#pragma once

namespace eco {

// Carries one run from the header file named by headerFile (null when the
// command line gave none) to the last output file. Returns the process exit
// status: 0 for a normal end, 1 after a failure message.
int runMain(const char* headerFile);

}  // namespace eco
