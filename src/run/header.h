#pragma once
// The header file: keyword lines such as "[MSP] 300", ended by "[EOF]".

#include <cstddef>
#include <cstdint>
#include <istream>
#include <map>
#include <string>

#include "run/run_settings.h"

namespace eco {

// Outcome of decoding header keywords. `error` with `message` is one of the
// program's own messages; a non-empty `inputReport` is the input layer's
// report of a value that ran into the end of its record.
struct HeaderFlags {
  bool error = false;
  std::string message;
  std::string inputReport;
  bool end = false;  // "[EOF]" was decoded
  // The located detail of a failure for standard error. readHeaderLine
  // gives the text and the column; readHeaderFile makes the whole line
  // ("error: <file>, line <n>, column <c>: <text>").
  std::string detail;
  std::size_t column = 0;
  // Line of the last occurrence of each keyword read ("[PAI]" -> 3).
  std::map<std::string, int64_t> lines;
  // Set by the caller: the exports of the command line (--csv, --html),
  // which the warning about an empty [OUT] names too.
  bool csv = false;
  bool html = false;
};

// Decodes the keyword that starts at column k (1-based, at most 75) of the
// 80-character line into the settings. Leaves the flags alone on success.
// A value that ends before other text on its line (an unquoted path with a
// slash or a blank) is taken as the system always took it, and the rest is
// described in `unread` (empty: nothing was left over).
void readHeaderLine(const std::string& line, int k, RunSettings& settings, HeaderFlags& flags,
                    std::string* unread = nullptr);

// Reads header lines up to "[EOF]". `fileName` names the file in reports.
// On a failure returns false with either flags.message (program message)
// or flags.inputReport (input layer report, line number included) set, and
// flags.detail. Warns (standard error) about text that was not read: the
// rest of a line after a value, text beyond column 80, a keyword beyond
// column 75, and an empty [OUT].
bool readHeaderFile(std::istream& in, const std::string& fileName, RunSettings& settings,
                    HeaderFlags& flags);

// The unit number that the header file has in the input layer's reports.
inline constexpr int kHeaderUnit = 10;

}  // namespace eco
