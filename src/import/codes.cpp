#include "import/codes.h"

#include <set>

#include "records/diagnostics.h"

namespace eco {

std::size_t CodeBook::add(const std::string& id, const TableProblem& where) {
  const auto [it, added] = index.emplace(id, entries.size());
  if (added) entries.push_back({id, where});
  return it->second;
}

int64_t CodeBook::find(const std::string& id) const {
  const auto it = index.find(id);
  return it == index.end() ? -1 : static_cast<int64_t>(it->second);
}

bool wholeNumber(const std::string& id, int32_t* out) {
  std::size_t i = 0;
  bool negative = false;
  if (i < id.size() && (id[i] == '+' || id[i] == '-')) negative = id[i++] == '-';
  if (i >= id.size()) return false;
  int64_t value = 0;
  for (; i < id.size(); ++i) {
    if (id[i] < '0' || id[i] > '9') return false;
    value = value * 10 + (id[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) return false;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return false;
  *out = static_cast<int32_t>(value);
  return true;
}

void assignCodes(CodeBook& book, const std::string& what, std::vector<TableProblem>& problems) {
  book.codes.assign(book.entries.size(), 0);
  std::map<int32_t, std::size_t> kept;
  std::vector<bool> numeric(book.entries.size(), false);
  for (std::size_t i = 0; i < book.entries.size(); ++i) {
    int32_t code = 0;
    if (!wholeNumber(book.entries[i].id, &code)) continue;
    numeric[i] = true;
    book.codes[i] = code;
    const auto [it, added] = kept.emplace(code, i);
    if (!added) {
      const CodeBook::Entry& first = book.entries[it->second];
      TableProblem p = book.entries[i].where;
      p.text = what + " " + shownValue(book.entries[i].id) + " and " + shownValue(first.id) + " (" +
               first.where.file + ", line " + std::to_string(first.where.line) +
               ") are the same number, so they would get the same code: give them "
               "identifiers that differ as numbers";
      problems.push_back(p);
    }
  }
  int32_t next = 1;
  for (std::size_t i = 0; i < book.entries.size(); ++i) {
    if (numeric[i]) continue;
    while (kept.count(next) != 0) ++next;
    book.codes[i] = next++;
  }
}

}  // namespace eco
