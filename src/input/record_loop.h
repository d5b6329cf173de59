#pragma once
// The record-by-record reading shared by the four input files.

#include <span>
#include <string_view>

#include "input/input_files.h"
#include "records/free_read.h"

namespace eco {

enum class NextRecord { record, end, failed };

// Reads the next record of a file of the given kind ("species", "data", ...).
// A record whose values ran onto a further line and left values unread
// there, or that the end of the file cut off, is refused: otherwise an
// observation would silently be lost.
NextRecord nextRecord(RecordSource& source, std::span<const ReadItem> items, std::string_view kind,
                      InputStatus& status, long& line);

}  // namespace eco
