#pragma once
// All or nothing: every output file of a run is written under a temporary
// name beside its final one and renamed into place only when the whole run
// has succeeded. A run that fails removes its temporary files, so earlier
// results of the same names stay exactly as they were and no half-written
// file ever looks like a result.
//
// A final name that exists and is not a regular file (a link, a device such
// as /dev/full) is written in place. A final name that cannot be written (a
// directory, a read-only file, a read-only directory) fails at the open, as
// a plain create would.

#include <fstream>
#include <string>
#include <vector>

namespace eco {

// Opens `finalName` for writing (binary, from its start). False when it
// cannot be written; the caller reports its own open message.
bool openOutputFile(const std::string& finalName, std::ofstream& out);

// Renames every pending file into place, in the order opened. The streams
// must be closed. False with the final name of a file that could not be
// put in place; the remaining temporary files are then removed.
bool commitOutputFiles(std::string& failedName);

// Removes every pending temporary file (a failed run). Safe to call twice.
void discardOutputFiles();

// Removes the temporary files by name only, as an interrupt handler does
// (safe inside a signal handler; on Windows the files must be closed).
void removeTemporaryFiles();

// The final names of the files committed by the last commitOutputFiles, in
// the order opened (the closing line lists them).
const std::vector<std::string>& committedOutputFiles();

}  // namespace eco
