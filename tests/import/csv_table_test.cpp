#include "import/csv_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace eco {
namespace {

struct ParseCase {
  const char* label;
  std::string text;
  char delimiter;
  std::vector<std::string> columns;
  std::vector<std::pair<int64_t, std::vector<std::string>>> rows;  // line, cells
  std::vector<std::string> problems;                               // problemLine of each
};

const std::vector<ParseCase> kParseCases = {
    {"commas, LF",
     "station,species\n1,a\n2,b\n",
     ',',
     {"station", "species"},
     {{2, {"1", "a"}}, {3, {"2", "b"}}},
     {}},
    {"semicolons, CR LF, byte order mark",
     "\xEF\xBB\xBFstation;density\r\n1;2,5\r\n",
     ';',
     {"station", "density"},
     {{2, {"1", "2,5"}}},
     {}},
    {"tabs keep commas and blanks inside",
     "a\tb\n x , y \t2\n",
     '\t',
     {"a", "b"},
     {{2, {"x , y", "2"}}},
     {}},
    {"old Mac line ends (CR)",
     "a,b\r1,2\r3,4",
     ',',
     {"a", "b"},
     {{2, {"1", "2"}}, {3, {"3", "4"}}},
     {}},
    {"quotes: separators, doubled quotes, line breaks",
     "a,b\n\"x, \"\"y\"\"\",\"l1\r\nl2\"\n3,4\n",
     ',',
     {"a", "b"},
     {{2, {"x, \"y\"", "l1\nl2"}}, {4, {"3", "4"}}},
     {}},
    {"a semicolon line with a comma inside quotes",
     "\"a,b\";c\n1;2\n",
     ';',
     {"a,b", "c"},
     {{2, {"1", "2"}}},
     {}},
    {"blank lines and rows of separators skipped",
     "\n\na,b\n\n,,\n , \n1,2\n",
     ',',
     {"a", "b"},
     {{7, {"1", "2"}}},
     {}},
    {"short rows padded, trailing separators ignored",
     "a,b,c,\n1\n1,2,3,,\n",
     ',',
     {"a", "b", "c"},
     {{2, {"1", "", ""}}, {3, {"1", "2", "3"}}},
     {}},
    {"a quoted empty cell is a value", "a\n\"\"\n", ',', {"a"}, {{2, {""}}}, {}},
    {"more values than columns",
     "a,b\n1,2,3\n",
     ',',
     {"a", "b"},
     {{2, {"1", "2"}}},
     {"error: t.csv, line 2: the row has more values than there are column names (2): value '3' "
      "has no column; remove it or name its column in the first line"}},
    {"unterminated quote",
     "a,b\n1,2\n3,\"x\n4,5\n",
     ',',
     {"a", "b"},
     {{2, {"1", "2"}}},
     {"error: t.csv, line 3, column 'b': the quote opened here is never closed, so the rest of "
      "the file would be one value: close the quote, or remove it"}},
    {"repeated and empty column names",
     "a,,a\n",
     ',',
     {"a", "", "a"},
     {},
     {"error: t.csv, line 1: column 2 has no name: the first line names every column",
      "error: t.csv, line 1, column 'a': the column name is repeated: give every column its own "
      "name"}},
    {"empty file",
     "\xEF\xBB\xBF\r\n",
     ',',
     {},
     {},
     {"error: t.csv: the file is empty: its first line must name the columns"}},
};

TEST(CsvTable, ParsesWhatSpreadsheetsAndRWrite) {
  for (const ParseCase& c : kParseCases) {
    SCOPED_TRACE(c.label);
    std::vector<TableProblem> problems;
    const CsvTable t = parseCsv(c.text, "t.csv", problems);
    std::vector<std::string> told;
    for (const TableProblem& p : problems) told.push_back(problemLine(p));
    EXPECT_EQ(told, c.problems);
    EXPECT_EQ(t.delimiter, c.delimiter);
    EXPECT_EQ(t.columns, c.columns);
    std::vector<std::pair<int64_t, std::vector<std::string>>> rows;
    for (const CsvRow& r : t.rows) rows.emplace_back(r.line, r.cells);
    EXPECT_EQ(rows, c.rows);
  }
}

TEST(CsvTable, NumbersOfCells) {
  struct NumberCase {
    const char* cell;
    char delimiter;
    bool ok;
    float value;
  };
  const NumberCase cases[] = {
      {"2.5", ',', true, 2.5f},     {"2,5", ';', true, 2.5f},
      {"2,5", '\t', true, 2.5f},    {"2,5", ',', false, 0},
      {"1e-05", ',', true, 1e-05f}, {"-0.1", ',', true, -0.1f},
      {"0.1", ',', true, 0.1f},     {"3.4028235e38", ',', true, 3.4028235e38f},
      {"1e39", ',', false, 0},      {"inf", ',', false, 0},
      {"NaN", ',', false, 0},       {"1d5", ',', false, 0},
      {"12 m2", ',', false, 0},     {"", ',', false, 0},
      {"1.2.3", ',', false, 0},     {"16777217", ',', true, 16777216.0f},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.cell);
    float v = -1;
    EXPECT_EQ(cellNumber(c.cell, c.delimiter, &v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
  EXPECT_TRUE(cellMissing(""));
  EXPECT_TRUE(cellMissing("NA"));
  EXPECT_TRUE(cellMissing("na"));
  EXPECT_FALSE(cellMissing("0"));
  EXPECT_FALSE(cellMissing("NAN"));
}

}  // namespace
}  // namespace eco
