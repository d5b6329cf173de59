#pragma once
// Tables as a spreadsheet or R exports them: the first line holds the
// column names, the values are separated by commas, semicolons or tabs
// (whichever the first line holds most of), quoted as in RFC 4180.
//
// A UTF-8 byte order mark at the start is passed over; lines end with LF,
// CR LF or CR; a row whose cells are all empty (a blank line, or a line of
// separators only) is skipped. Unquoted cells lose their surrounding
// blanks; quoted cells are kept as they stand, line breaks included.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace eco {

struct CsvRow {
  int64_t line = 0;  // the file line the row starts on, the column names' line being 1
  std::vector<std::string> cells;  // as many as the table has columns
};

struct CsvTable {
  std::string file;  // as the user named it, for messages
  char delimiter = ',';
  int64_t headerLine = 1;
  std::vector<std::string> columns;  // the column names as written
  std::vector<CsvRow> rows;
};

// A problem found in a table: "error: <file>, line <n>, column '<name>':
// <text>" (line 0: no line; an empty column: no column).
struct TableProblem {
  std::string file;
  int64_t line = 0;
  std::string column;
  std::string text;
};
std::string problemLine(const TableProblem& p);

// Splits `text` into its rows. An unterminated quote, a row with more
// (non-empty) cells than there are column names, a repeated or empty column
// name and a table without a line of column names are problems; the table
// is then incomplete.
CsvTable parseCsv(std::string_view text, const std::string& file,
                  std::vector<TableProblem>& problems);

// The decimal value of a cell: a point is a decimal point and, in a table
// separated by semicolons or tabs, so is a comma. The number is correctly
// rounded to the 32-bit real; false for anything else (text, an empty cell,
// an infinity, a value beyond the 32-bit range).
bool cellNumber(std::string_view cell, char delimiter, float* out);

// An empty cell or NA (in any case): a value that is not given.
bool cellMissing(std::string_view cell);

}  // namespace eco
