#pragma once
// The record-by-record reading shared by the four input files, and what it
// tells the user about records that were accepted but are probably not
// what was meant (standard error, see records/diagnostics.h).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "input/input_files.h"
#include "records/free_read.h"

namespace eco {

enum class NextRecord { record, end, failed };

struct RecordReader {
  RecordSource source;
  std::string_view kind;  // "species", "ecotope", "station", "data"
  std::span<const ReadItem> items;
  std::span<const std::string_view> names;  // what each item is: "station code", ...
  // Values after the last item that belong there and are not read (the
  // biomass with [BIO] n): said once for the file, with `extraNote`.
  int expectedExtra = 0;
  std::string_view extraNote;
  bool extraTold = false;
  int64_t line = 0;          // line of the record just read
  int64_t previousLine = 0;  // line of the record read before it (0: none)
};

RecordReader recordReader(std::istream& in, const std::string& fileName, int unit,
                          std::string_view kind, std::span<const ReadItem> items,
                          std::span<const std::string_view> names);

// Reads the next record. A record whose values ran onto a further line and
// left values unread there, or that the end of the file cut off, is
// refused: otherwise an observation would silently be lost. Warns about
// values left unread on the record's line, a probable decimal comma, and
// items that a null value or a slash left at the previous record's value.
NextRecord nextRecord(RecordReader& reader, InputStatus& status);

// "[MSP] 3 allows", or for a capacity of 0 "[MSP] allows (0 or less: none)",
// in the located detail of a capacity exceeded.
std::string capacityLimit(std::string_view keyword, int32_t value);

// The values a record was read as, e.g. "10 201 3 1 5" (texts quoted,
// without their trailing blanks).
std::string valuesAsRead(std::span<const ReadItem> items);

}  // namespace eco
