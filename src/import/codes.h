#pragma once
// Codes for identifiers. An identifier that is a whole number (an optional
// sign and digits) in the 32-bit range keeps that number as its code; two
// such identifiers with the same number ("7", "007") are a problem. Every
// other identifier gets the smallest positive code that no identifier has,
// in order of first appearance.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "import/csv_table.h"

namespace eco {

struct CodeBook {
  struct Entry {
    std::string id;
    TableProblem where;  // first appearance (file, line, column), text unused
  };
  std::vector<Entry> entries;
  std::map<std::string, std::size_t> index;  // id -> entry
  std::vector<int32_t> codes;                // filled by assignCodes

  // The entry of `id`, added at `where` if new.
  std::size_t add(const std::string& id, const TableProblem& where);
  // -1 when `id` is not known.
  int64_t find(const std::string& id) const;
};

// The identifier's number, when it is a whole number in the 32-bit range.
bool wholeNumber(const std::string& id, int32_t* out);

// Fills book.codes; `what` names the identifiers in messages ("species").
void assignCodes(CodeBook& book, const std::string& what, std::vector<TableProblem>& problems);

}  // namespace eco
