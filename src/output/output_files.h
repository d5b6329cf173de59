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
//
// The commit checks every final name again before it renames anything (a
// folder may have appeared under one during the run), then moves the
// earlier results aside, renames the new files into place and only then
// removes what it moved aside. A rename that still fails, or an
// interruption during the commit, puts the earlier results back and removes
// the new ones.

#include <fstream>
#include <string>
#include <vector>

namespace eco {

struct PendingOutput {
  std::string finalName;
  std::string tempName;   // empty: written in place
  std::string asideName;  // where the earlier result waits during the commit
};

// Why a commit failed, for the located detail: `name` is the final name
// that could not be put in place, `cause` says why, and `replaced` names
// each final name that could not be made as it was before the run, with
// where its earlier result is kept (empty: the folder is as it was).
struct CommitFailure {
  std::string name;
  std::string cause;
  std::vector<std::string> replaced;
};

// The output files of one run.
struct OutputFiles {
  std::vector<PendingOutput> pending;
  // The final names of the last successful commit, in the order opened (the
  // closing line lists them).
  std::vector<std::string> committed;
  CommitFailure failure;
};

// Makes `files` the run's output files: the ones an interruption removes.
// nullptr goes back to a process-wide set of its own, which
// registeredOutputFiles() gives.
void registerOutputFiles(OutputFiles* files);
OutputFiles& registeredOutputFiles();

// Opens `finalName` for writing (binary, from its start). False when it
// cannot be written; the caller reports its own open message.
bool openOutputFile(OutputFiles& files, const std::string& finalName, std::ofstream& out);

// Puts every pending file into place, in the order opened. The streams
// must be closed. False with the final name of a file that could not be
// put in place (files.failure says why); the folder is then as it was
// before the run, or files.failure.replaced names what could not be put
// back.
bool commitOutputFiles(OutputFiles& files, std::string& failedName);

// Removes every pending temporary file (a failed run). Safe to call twice.
void discardOutputFiles(OutputFiles& files);

// The located detail's text for a failed commit (without the file name).
std::string commitFailureText(const CommitFailure& failure);

// Undoes the registered run's files by name only, as an interrupt handler
// does (safe inside a signal handler; on Windows the files must be
// closed): removes the temporary files and, during a commit, puts the
// earlier results back.
void removeTemporaryFiles();

}  // namespace eco
