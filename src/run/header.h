#pragma once
// The header file: keyword lines such as "[MSP] 300", ended by "[EOF]".

#include <istream>
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
};

// Decodes the keyword that starts at column k (1-based, at most 75) of the
// 80-character line into the settings. Leaves the flags alone on success.
void readHeaderLine(const std::string& line, int k, RunSettings& settings, HeaderFlags& flags);

// Reads header lines up to "[EOF]". `fileName` names the file in reports.
// On a failure returns false with either flags.message (program message)
// or flags.inputReport (input layer report, line number included) set.
bool readHeaderFile(std::istream& in, const std::string& fileName, RunSettings& settings,
                    HeaderFlags& flags);

// The unit number that the header file has in the input layer's reports.
inline constexpr int kHeaderUnit = 10;

}  // namespace eco
