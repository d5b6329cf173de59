#pragma once
// The located detail (standard error) of the driver's own failures: the
// header file, the two directories and the output files. Each names the
// file or path, why it failed and what to do.

#include <cstdint>
#include <map>
#include <string>

#include "run/run_settings.h"

namespace eco {

// The header file `name` cannot be opened (empty for no name: the usage
// line says what is missing).
std::string headerOpenFailure(const std::string& name);
// No [PAI] was given, or it gave no path ("dummy", or a slash first).
// `lines` maps keywords to the header lines where they stood.
std::string noInputPathFailure(const std::string& headerName,
                               const std::map<std::string, int64_t>& lines);
// The input ([PAI], output false) or output ([PAO], output true) directory
// cannot be entered.
std::string directoryFailure(const std::string& headerName,
                             const std::map<std::string, int64_t>& lines, const std::string& path,
                             bool output);
// A failure message of the passes about an output file ("error while
// opening .SIM output file", "error while writing output file <name>");
// empty for any other message.
std::string outputFailure(const std::string& message, const RunSettings& settings);

}  // namespace eco
