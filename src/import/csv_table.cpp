#include "import/csv_table.h"

#include <algorithm>

#include "records/diagnostics.h"
#include "records/value_convert.h"

namespace eco {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(std::string_view s, char delimiter) {
  std::size_t b = 0, e = s.size();
  auto blank = [&](char c) { return c == ' ' || (c == '\t' && delimiter != '\t'); };
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

// The separator the line of column names holds most of (outside quotes);
// a comma when it holds none.
char detectDelimiter(std::string_view text) {
  int64_t comma = 0, semicolon = 0, tab = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    comma += c == ',';
    semicolon += c == ';';
    tab += c == '\t';
  }
  if (tab > comma && tab >= semicolon) return '\t';
  if (semicolon > comma) return ';';
  return ',';
}

// Reads one record from text[at]: its raw cells, and whether the quote of
// a cell stayed open to the end of the text. Advances `at` past the line
// end and `line` by the lines it took.
struct RawRecord {
  std::vector<std::string> cells;
  std::vector<bool> quoted;
  bool unterminated = false;
  int64_t openedLine = 0;
  std::size_t openedCell = 0;
};

RawRecord readRecord(std::string_view text, std::size_t& at, int64_t& line, char delimiter) {
  RawRecord r;
  std::string cell;
  bool inQuotes = false, wasQuoted = false;
  auto endCell = [&] {
    r.cells.push_back(wasQuoted ? cell : trimmed(cell, delimiter));
    r.quoted.push_back(wasQuoted);
    cell.clear();
    wasQuoted = false;
  };
  while (at < text.size()) {
    const char c = text[at];
    if (inQuotes) {
      if (c == '"') {
        if (at + 1 < text.size() && text[at + 1] == '"') {
          cell += '"';
          at += 2;
          continue;
        }
        inQuotes = false;
        ++at;
        continue;
      }
      if (c == '\r' || c == '\n') {
        // A line break inside a quoted cell is part of it (as one LF).
        if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        ++line;
        cell += '\n';
        ++at;
        continue;
      }
      cell += c;
      ++at;
      continue;
    }
    if (c == '"' && std::all_of(cell.begin(), cell.end(), isBlank) && !wasQuoted) {
      cell.clear();
      inQuotes = wasQuoted = true;
      r.openedLine = line;
      r.openedCell = r.cells.size();
      ++at;
      continue;
    }
    if (c == delimiter) {
      endCell();
      ++at;
      continue;
    }
    if (c == '\r' || c == '\n') {
      if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
      ++at;
      ++line;
      endCell();
      return r;
    }
    // Text after a closing quote is kept, as spreadsheets keep it.
    cell += c;
    ++at;
  }
  if (inQuotes) r.unterminated = true;
  endCell();
  ++line;
  return r;
}

bool allEmpty(const RawRecord& r) {
  for (std::size_t i = 0; i < r.cells.size(); ++i) {
    if (!r.cells[i].empty() || r.quoted[i]) return false;
  }
  return true;
}

// Passes over the blank lines before the column names.
void skipLeadingBlankLines(std::string_view text, std::size_t& at, int64_t& line) {
  while (at < text.size() && (text[at] == '\n' || text[at] == '\r' || isBlank(text[at]))) {
    if (text[at] == '\n' || (text[at] == '\r' && (at + 1 >= text.size() || text[at + 1] != '\n')))
      ++line;
    ++at;
  }
}

// Every column has a name of its own.
void checkColumnNames(const CsvTable& t, std::vector<TableProblem>& problems) {
  for (std::size_t i = 0; i < t.columns.size(); ++i) {
    if (t.columns[i].empty()) {
      problems.push_back(
          {t.file, t.headerLine, "",
           "column " + std::to_string(i + 1) + " has no name: the first line names every column"});
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (!t.columns[i].empty() && t.columns[i] == t.columns[j]) {
        problems.push_back({t.file, t.headerLine, t.columns[i],
                            "the column name is repeated: give every column its own name"});
      }
    }
  }
}

// A row's values beyond the named columns must be empty.
void checkRowWidth(const CsvTable& t, const RawRecord& r, int64_t start,
                   std::vector<TableProblem>& problems) {
  for (std::size_t i = t.columns.size(); i < r.cells.size(); ++i) {
    if (r.cells[i].empty()) continue;
    problems.push_back({t.file, start, "",
                        "the row has more values than there are column names (" +
                            std::to_string(t.columns.size()) + "): value " +
                            shownValue(r.cells[i]) +
                            " has no column; remove it or name "
                            "its column in the first line"});
    return;
  }
}

}  // namespace

std::string problemLine(const TableProblem& p) {
  std::string s = "error: " + p.file;
  if (p.line > 0) s += ", line " + std::to_string(p.line);
  if (!p.column.empty()) s += ", column " + shownValue(p.column);
  return s + ": " + p.text;
}

CsvTable parseCsv(std::string_view text, const std::string& file,
                  std::vector<TableProblem>& problems) {
  CsvTable t;
  t.file = file;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t at = 0;
  int64_t line = 1;
  skipLeadingBlankLines(text, at, line);
  if (at >= text.size()) {
    problems.push_back({file, 0, "", "the file is empty: its first line must name the columns"});
    return t;
  }
  t.delimiter = detectDelimiter(text.substr(at));
  t.headerLine = line;
  const RawRecord head = readRecord(text, at, line, t.delimiter);
  if (head.unterminated) {
    problems.push_back({file, t.headerLine, "",
                        "a quote in the line of column names is never closed: close it, or "
                        "remove the quote"});
    return t;
  }
  t.columns = head.cells;
  while (!t.columns.empty() && t.columns.back().empty()) t.columns.pop_back();
  checkColumnNames(t, problems);
  while (at < text.size()) {
    const int64_t start = line;
    RawRecord r = readRecord(text, at, line, t.delimiter);
    if (r.unterminated) {
      const std::string col =
          r.openedCell < t.columns.size() ? t.columns[r.openedCell] : std::string();
      problems.push_back({file, r.openedLine, col,
                          "the quote opened here is never closed, so the rest of the file "
                          "would be one value: close the quote, or remove it"});
      return t;
    }
    if (allEmpty(r)) continue;
    checkRowWidth(t, r, start, problems);
    r.cells.resize(t.columns.size());
    t.rows.push_back({start, std::move(r.cells)});
  }
  return t;
}

bool cellNumber(std::string_view cell, char delimiter, float* out) {
  std::string value(cell);
  if (delimiter != ',') std::replace(value.begin(), value.end(), ',', '.');
  if (value.empty()) return false;
  // The free-format exponent letters D and Q are not what a table means.
  for (char c : value) {
    if (!(isDecimalDigit(c) || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) {
      return false;
    }
  }
  if (checkNumberSyntax(value) != ConvertStatus::ok) return false;
  return convertReal(value, out) == ConvertStatus::ok;
}

bool cellMissing(std::string_view cell) {
  return cell.empty() || ((cell.size() == 2) && (cell[0] == 'N' || cell[0] == 'n') &&
                          (cell[1] == 'A' || cell[1] == 'a'));
}

}  // namespace eco
