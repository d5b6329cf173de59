#include "input/record_loop.h"

#include <string>

namespace eco {

NextRecord nextRecord(RecordSource& source, std::span<const ReadItem> items, std::string_view kind,
                      InputStatus& status, long& line) {
  const ReadResult r = readRecord(source, items);
  line = r.firstLine;
  const bool cutOff = r.outcome == ReadOutcome::endOfFile && r.satisfied > 0;
  const bool tooFew = r.outcome == ReadOutcome::complete && r.continued && r.leftover;
  if (cutOff || tooFew) {
    status.inputLayer = false;
    status.message = "record with too few values in " + std::string(kind) + " file, line " +
                     std::to_string(r.firstLine);
    return NextRecord::failed;
  }
  if (r.outcome == ReadOutcome::endOfFile) return NextRecord::end;
  if (r.outcome == ReadOutcome::error) {
    status.inputLayer = true;
    status.message = r.report + ", line " + std::to_string(r.lastLine);
    return NextRecord::failed;
  }
  return NextRecord::record;
}

}  // namespace eco
