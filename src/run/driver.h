#pragma once

#include <string>
#include <vector>

#include "run/command_line.h"

namespace eco {

// The program: the command-line arguments (without the program name) in,
// the process exit status out: 0 for a normal end (also --help and
// --version), 1 after a failure message, 2 for a usage error.
int runMain(const std::vector<std::string>& args);

// Whether the program has storage enough to fail cleanly later on; main
// asks before anything else and, if not, tells the storage message.
bool storageToStart();
void tellNoStorage();

// Carries one run from the header file to the last output file.
int runAssessment(const CommandLine& commandLine);

}  // namespace eco
