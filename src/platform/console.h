#pragma once
// The standard streams and the console the program runs in.

#include <string>
#include <vector>

namespace eco::platform {

// First thing in main. A closed standard stream is opened on the null
// device (otherwise the first file the run opens would take its place and
// console lines would end up inside it). On Windows the streams are put in
// binary mode, so that they carry the same bytes as elsewhere (no CR added
// before LF), and a console shows UTF-8.
void prepareStandardStreams();

// The command-line arguments without the program name, in UTF-8 (on
// Windows taken from the wide-character command line).
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Whether standard error can show the rewriting progress line: a terminal
// that understands "ESC [ K" (on Windows a console switched to virtual
// terminal processing; where that fails, none).
bool progressLineAvailable();

// Whether the program was started by double-click or drop in Explorer: its
// console was made for it alone and none of the standard streams is
// redirected. Always false outside Windows.
bool consoleMadeForProgram();

// Keeps a console window open until a key is pressed (after a prompt on
// standard error).
void waitForKey();

}  // namespace eco::platform
