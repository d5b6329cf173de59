#pragma once
// Messages for people, on standard error: warnings about input that was
// accepted but is probably wrong, and the located detail of a failure.
// Standard output and the output files never receive any of them.
//
// One line per message. Warnings of one kind about one file are limited to
// `kWarningLimit` lines; finishWarnings() then adds one line with the count
// of the rest. The sink is process-wide, like the run's other console state.

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace eco {

inline constexpr int64_t kWarningLimit = 10;

struct Diagnostics {
  std::ostream* out = nullptr;  // null: messages are dropped
  // Called around every message: a terminal status line is cleared before
  // and drawn again after (see the progress display).
  std::function<void()> beforeWrite, afterWrite;
  // (file or subject, kind) -> warnings counted so far
  std::map<std::pair<std::string, std::string>, int64_t> counts;
  int64_t warningsWritten = 0;  // lines that begin with "warning:"
};

// The process-wide sink (standard error by default).
Diagnostics& diagnostics();
// Back to the start-up state, writing to `out` (tests).
void resetDiagnostics(std::ostream* out);

// "warning: <file>, line <n>: <text>" (line 0: "warning: <file>: <text>"),
// at most kWarningLimit per file and kind.
void warnAt(std::string_view file, int64_t line, std::string_view kind, std::string_view text);
// Counts n warnings of a kind about a file without writing them (the
// caller has written the first kWarningLimit); finishWarnings() tells the
// count.
void countWarnings(std::string_view file, std::string_view kind, int64_t n);
// "warning: <text>", at most kWarningLimit per subject and kind.
void warnAbout(std::string_view subject, std::string_view kind, std::string_view text);
// One line as it stands (a located failure, a usage line); never limited.
void tellUser(std::string_view line);
// The located detail of a failure, told after the failure message:
// "error: <file>, line <n>, column <c>: <text>" (line 0: no line, column 0:
// no column; an empty file: "error: <text>"). Never limited.
void failAt(std::string_view file, int64_t line, std::size_t column, std::string_view text);
// The same line as text.
std::string failureLine(std::string_view file, int64_t line, std::size_t column,
                        std::string_view text);
// A value as the user wrote it, in apostrophes, with what cannot be seen
// made visible: a byte order mark as <byte order mark>, other control
// characters as \xNN.
std::string shownValue(std::string_view value);
// `text` as it may go to a terminal: control characters (C0, DEL, C1) and
// bytes that are not well-formed UTF-8 as \xNN, everything else as it is.
// Every message passes through it, so that a name or a value from a file
// cannot move the cursor or clear the screen that shows it.
std::string terminalSafe(std::string_view text);
// One line for every file and kind whose warnings went over the limit:
// "warning: <file>: <n> more <kind> warnings not shown".
void finishWarnings();

}  // namespace eco
