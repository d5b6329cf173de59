// The real program with --csv --html on the golden surveys: the fixed-format
// files and the console stay byte for byte as without the options, and every
// CSV value, read back as a float and edited by the program's own field
// editor, gives the field that the .SIM, .DEN, .BIO, .NSP or .ASS file holds.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "output/csv_parse.h"
#include "output/edit.h"
#include "output/xml_check.h"
#include "support/program_run.h"

namespace fs = std::filesystem;

namespace eco {
namespace {

using csvtest::parseCsv;

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The records of a fixed-format file (CR LF ends).
std::vector<std::string> recordsOf(const std::string& bytes) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) break;
    out.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

// A CSV field as the 32-bit value it stands for; empty is missing.
float valueOf(const std::string& field) {
  if (field.empty()) return std::numeric_limits<float>::quiet_NaN();
  if (field == "Inf") return std::numeric_limits<float>::infinity();
  if (field == "-Inf") return -std::numeric_limits<float>::infinity();
  char* end = nullptr;
  const float v = std::strtof(field.c_str(), &end);
  EXPECT_EQ(*end, '\0') << "not a number: " << field;
  return v;
}

std::string padded(const std::string& name) {
  std::string s = name;
  s.resize(50, ' ');
  return s;
}

// A CSV file as rows of named fields; every row has the header's fields.
struct Table {
  std::vector<std::string> columns;
  std::vector<std::map<std::string, std::string>> rows;
};

Table readCsv(const fs::path& p) {
  Table t;
  const auto parsed = parseCsv(readFile(p));
  EXPECT_TRUE(parsed.ok) << p << ": " << parsed.error;
  if (!parsed.ok || parsed.records.empty()) return t;
  t.columns = parsed.records[0];
  for (std::size_t i = 1; i < parsed.records.size(); ++i) {
    EXPECT_EQ(parsed.records[i].size(), t.columns.size()) << p << " row " << i;
    std::map<std::string, std::string> row;
    for (std::size_t k = 0; k < t.columns.size() && k < parsed.records[i].size(); ++k) {
      row[t.columns[k]] = parsed.records[i][k];
    }
    t.rows.push_back(row);
  }
  return t;
}

const std::vector<std::string> kPercentileColumns = {"p01", "p025", "p05", "p10",  "p25", "p50",
                                                     "p75", "p90",  "p95", "p975", "p99"};

// --- The report file, section by section ---------------------------------

struct Section {
  std::string title, grade, quantiles;
  std::map<std::string, std::string> values;  // text of a value record -> its F15 field
  std::vector<std::string> list;              // the list rows (and "....." separators)
};

struct Block {
  std::string name;  // 50 characters
  std::string refSurface, assSurface;
  bool warning = false;
  std::vector<Section> sections;
};

bool isTitle(const std::string& r) {
  return r == "SIMILARITY CALCULATIONS" || r == "No. of SPECIES CALCULATIONS" ||
         r == "DENSITY CALCULATIONS" || r == "BIOMASS CALCULATIONS";
}

std::vector<Block> readReport(const std::string& bytes) {
  const std::vector<std::string> r = recordsOf(bytes);
  std::vector<Block> blocks;
  const std::string dashes(64, '-');
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (r[i].rfind("ECOTOPE ", 0) == 0) {
      blocks.push_back({});
      blocks.back().name = r[i].substr(8);
    } else if (r[i].rfind("!!! WARNING !!!", 0) == 0) {
      blocks.back().warning = true;
    } else if (r[i].rfind("Total surface of reference sample  ", 0) == 0) {
      blocks.back().refSurface = r[i].substr(35);
    } else if (r[i].rfind("Total surface of assessment sample ", 0) == 0) {
      blocks.back().assSurface = r[i].substr(35);
    } else if (isTitle(r[i])) {
      Section s;
      s.title = r[i];
      s.grade = r[i + 2].substr(27);
      s.quantiles = r[i + 6];
      std::size_t k = i + 9;
      for (; k < r.size() && r[k] != dashes; ++k) s.values[r[k].substr(20)] = r[k].substr(0, 15);
      k += 4;  // the rule, an empty record, the list's heading and its column heading
      if (s.title.rfind("No. of SPECIES", 0) == 0) --k;  // this list has no column heading
      for (; k < r.size() && r[k] != dashes; ++k) s.list.push_back(r[k]);
      blocks.back().sections.push_back(s);
      i = k;
    }
  }
  return blocks;
}

std::string sectionTitle(const std::string& measure) {
  if (measure == "similarity") return "SIMILARITY CALCULATIONS";
  if (measure == "species") return "No. of SPECIES CALCULATIONS";
  if (measure == "density") return "DENSITY CALCULATIONS";
  return "BIOMASS CALCULATIONS";
}

const Section* sectionOf(const Block& b, const std::string& measure) {
  for (const Section& s : b.sections) {
    if (s.title == sectionTitle(measure)) return &s;
  }
  return nullptr;
}

// The widths of the percentile lines and the decimals of the value records.
struct Layout {
  int p, q, decimals;
  std::string observedText, referenceText;
};

Layout layoutOf(const std::string& measure) {
  if (measure == "similarity") {
    return {7, 3, 5, "SIMILARITY OF ASSESSMENT SAMPLE WITH REFERENCE", ""};
  }
  if (measure == "species") {
    return {8, 1, 0, "NUMBER OF SPECIES IN ASSESSMENT", "NUMBER OF SPECIES IN REFERENCE"};
  }
  const std::string upper = measure == "density" ? "DENSITY" : "BIOMASS";
  return {10, 1, 5, "TOTAL " + upper + " IN ASSESSMENT SAMPLE",
          "TOTAL " + upper + " IN REFERENCE SAMPLE"};
}

// --- The runs ------------------------------------------------------------

// Runs the program in dir/run with the given options; standard output and
// error go beside run/. Returns the exit status.
int runIn(const fs::path& dir, const std::string& options) {
  ecotest::ProgramCall c;
  c.folder = dir / "run";
  c.args = ecotest::wordsOf("case.hdr " + options);
  c.out = dir / "console.txt";
  c.err = dir / "warnings.txt";
  return ecotest::runProgram(c).status;
}

struct Case {
  std::string name, base;
  int mode;
  bool biomass;
};

const std::vector<Case> kCases = {
    {"small_mode1", "small", 1, false},
    {"nofauna_mode1", "nf", 1, true},
    {"small_mode2", "tiny", 2, false},
    {"small_short", "tiny", 2, false},
    {"mite_mode2", "mite_shrub_unequal", 2, true},
    {"dune_mode3", "dune_mgmt_bio", 3, true},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

fs::path goldenDir(const std::string& name) {
  const char* data = std::getenv("ECO_TEST_DATA");
  return fs::path(data != nullptr ? data : "tests") / "golden" / name;
}

class ExportsRun : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    const Case& c = GetParam();
    dir_ = fs::temp_directory_path() /
           ("ecoassess_exports_" + std::to_string(getpid()) + "_" + c.name);
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "run");
    for (const auto& entry : fs::directory_iterator(goldenDir(c.name) / "input")) {
      fs::copy_file(entry.path(), dir_ / "run" / entry.path().filename());
    }
    status_ = runIn(dir_, "--csv --html");
  }
  void TearDown() override {
    std::error_code ec;
    if (!HasFailure()) fs::remove_all(dir_, ec);
  }
  fs::path out(const std::string& extension) const {
    return dir_ / "run" / (GetParam().base + extension);
  }
  fs::path expected(const std::string& file) const {
    return goldenDir(GetParam().name) / "expected" / file;
  }

  fs::path dir_;
  int status_ = -1;
};

TEST_P(ExportsRun, FixedFormatOutputIsUnchangedAndTheNewFilesExist) {
  const Case& c = GetParam();
  ASSERT_EQ(status_, 0) << readFile(dir_ / "warnings.txt");
  EXPECT_EQ(readFile(dir_ / "console.txt"), readFile(expected("console.txt")));
  std::set<std::string> want;
  std::ifstream files(expected("files.txt"));
  for (std::string f; std::getline(files, f);) {
    if (f.empty()) continue;
    want.insert(f);
    EXPECT_EQ(readFile(dir_ / "run" / f), readFile(expected(f))) << f;
  }
  if (c.mode != 3) want.insert(c.base + ".tables.csv");
  if (c.mode != 1) {
    want.insert(c.base + ".assessment.csv");
    want.insert(c.base + ".species.csv");
  }
  want.insert(c.base + ".html");
  std::set<std::string> have;
  for (const auto& entry : fs::directory_iterator(dir_ / "run")) {
    const std::string f = entry.path().filename().string();
    if (!fs::exists(goldenDir(c.name) / "input" / f)) have.insert(f);
  }
  EXPECT_EQ(have, want);
  // The files are created, and listed by the closing line, in this order.
  std::string order;
  for (const char* extension : {".SIM", ".DEN", ".BIO", ".NSP", ".tables.csv", ".ASS",
                                ".assessment.csv", ".species.csv", ".html"}) {
    const std::string f = c.base + extension;
    if (want.count(f) != 0) order += (order.empty() ? "" : ", ") + f;
  }
  EXPECT_NE(readFile(dir_ / "warnings.txt").find("done: wrote " + order + " in "),
            std::string::npos)
      << order;
  const xmltest::Checked page = xmltest::checkXml(readFile(out(".html")));
  EXPECT_TRUE(page.ok) << page.error;
}

// The runs with summary tables, and those with a report.
class TablesRun : public ExportsRun {};
class ReportRun : public ExportsRun {};

TEST_P(TablesRun, TablesCsvEditsToTheSummaryTables) {
  const Case& c = GetParam();
  ASSERT_EQ(status_, 0);
  const Table csv = readCsv(out(".tables.csv"));
  const std::vector<std::pair<std::string, std::string>> tables = {
      {"similarity", ".SIM"}, {"density", ".DEN"}, {"biomass", ".BIO"}, {"species", ".NSP"}};
  std::size_t compared = 0;
  for (const auto& [measure, extension] : tables) {
    if (measure == "biomass" && !c.biomass) {
      for (const auto& row : csv.rows) EXPECT_NE(row.at("measure"), "biomass");
      continue;
    }
    std::vector<std::string> fixed = recordsOf(readFile(out(extension)));
    ASSERT_FALSE(fixed.empty());
    fixed.erase(fixed.begin());  // the header line
    std::size_t next = 0;
    for (const auto& row : csv.rows) {
      if (row.at("measure") != measure) continue;
      ASSERT_LT(next, fixed.size()) << extension << " has fewer rows than the CSV";
      const std::string& line = fixed[next++];
      // The code edited as the table edits it ("**" above 99).
      EXPECT_EQ(line.substr(0, 2), editI(static_cast<int32_t>(std::stol(row.at("ecotope"))), 2, 2));
      EXPECT_EQ(line.substr(10, 12), editF(valueOf(row.at("surface")), 12, 5));
      for (std::size_t k = 0; k < 11; ++k) {
        EXPECT_EQ(line.substr(24 + 12 * k, 12),
                  editF(valueOf(row.at(kPercentileColumns[k])), 12, 2))
            << extension << " row " << next << " " << kPercentileColumns[k];
        ++compared;
      }
    }
    EXPECT_EQ(next, fixed.size()) << extension << " has more rows than the CSV";
  }
  EXPECT_GT(compared, 0u);
}

TEST_P(ReportRun, AssessmentCsvEditsToTheReport) {
  const Case& c = GetParam();
  ASSERT_EQ(status_, 0);
  const Table csv = readCsv(out(".assessment.csv"));
  const std::vector<Block> blocks = readReport(readFile(out(".ASS")));
  ASSERT_FALSE(blocks.empty());
  std::vector<std::string> order;  // measures of one block, in report order
  std::size_t block = 0, rowsOfBlock = 0;
  const std::size_t perBlock = c.biomass ? 4 : 3;
  for (const auto& row : csv.rows) {
    ASSERT_LT(block, blocks.size());
    const Block& b = blocks[block];
    const std::string measure = row.at("measure");
    order.push_back(measure);
    EXPECT_EQ(padded(row.at("ecotope_name")), b.name);
    EXPECT_EQ(editF(valueOf(row.at("reference_surface")), 10, 2), b.refSurface);
    EXPECT_EQ(editF(valueOf(row.at("assessment_surface")), 10, 2), b.assSurface);
    EXPECT_EQ(row.at("surface_warning"), b.warning ? "TRUE" : "FALSE");
    const Section* s = sectionOf(b, measure);
    ASSERT_NE(s, nullptr) << measure;
    const Layout l = layoutOf(measure);
    std::string grade = row.at("grade");
    grade.resize(10, ' ');
    EXPECT_EQ(grade, s->grade);
    std::string quantiles;
    for (const std::string& col : kPercentileColumns)
      quantiles += editF(valueOf(row.at(col)), l.p, l.q);
    EXPECT_EQ(quantiles, s->quantiles) << b.name << " " << measure;
    EXPECT_EQ(editF(valueOf(row.at("observed")), 15, l.decimals), s->values.at(l.observedText));
    if (l.referenceText.empty()) {
      EXPECT_EQ(row.at("reference"), "");
    } else {
      EXPECT_EQ(editF(valueOf(row.at("reference")), 15, l.decimals), s->values.at(l.referenceText));
    }
    const float plow = valueOf(row.at("p_lower")), phigh = valueOf(row.at("p_higher"));
    EXPECT_EQ(editF(plow, 15, 5), s->values.at("PROBABILITY TO FIND LOWER VALUE BY CHANCE"));
    EXPECT_EQ(editF(phigh, 15, 5), s->values.at("PROBABILITY TO FIND HIGHER VALUE BY CHANCE"));
    EXPECT_NEAR(valueOf(row.at("se_lower")), std::sqrt(plow * (1.0 - plow) / 2000), 1e-7);
    EXPECT_NEAR(valueOf(row.at("se_higher")), std::sqrt(phigh * (1.0 - phigh) / 2000), 1e-7);
    if (++rowsOfBlock == perBlock) {
      std::vector<std::string> want = {"similarity", "species", "density"};
      if (c.biomass) want.push_back("biomass");
      EXPECT_EQ(order, want);
      order.clear();
      rowsOfBlock = 0;
      ++block;
    }
  }
  EXPECT_EQ(block, blocks.size());
  EXPECT_EQ(rowsOfBlock, 0u);
}

TEST_P(ReportRun, SpeciesCsvEditsToTheReportLists) {
  ASSERT_EQ(status_, 0);
  const Table csv = readCsv(out(".species.csv"));
  const Table assessed = readCsv(out(".assessment.csv"));
  const std::vector<Block> blocks = readReport(readFile(out(".ASS")));
  // The rows of each (ecotope, measure, list) in file order.
  std::map<std::string, std::vector<std::map<std::string, std::string>>> lists;
  for (const auto& row : csv.rows) {
    lists[row.at("ecotope") + "/" + row.at("measure") + "/" + row.at("list")].push_back(row);
  }
  std::size_t checked = 0;
  std::size_t b = 0;
  for (const auto& a : assessed.rows) {
    while (b < blocks.size() && blocks[b].name != padded(a.at("ecotope_name"))) ++b;
    ASSERT_LT(b, blocks.size());
    const std::string key = a.at("ecotope") + "/" + a.at("measure") + "/";
    const Section* s = sectionOf(blocks[b], a.at("measure"));
    ASSERT_NE(s, nullptr);
    auto rank = [](const std::map<std::string, std::string>& row) {
      return std::stoi(row.at("rank"));
    };
    if (a.at("measure") == "similarity") {
      const auto& rows = lists[key + "contributor"];
      ASSERT_EQ(rows.size(), s->list.size()) << key;
      for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rank(rows[i]), static_cast<int>(i + 1));
        EXPECT_EQ(editA(padded(rows[i].at("species_name")), 25) +
                      editF(valueOf(rows[i].at("value")), 10, 4) +
                      editF(valueOf(rows[i].at("p_lower")), 10, 4) +
                      editF(valueOf(rows[i].at("p_higher")), 10, 4),
                  s->list[i]);
        EXPECT_EQ(rows[i].at("assessment_value"), "");
        ++checked;
      }
    } else if (a.at("measure") == "species") {
      const auto& rows = lists[key + "new"];
      std::vector<std::string> want;
      for (std::size_t i = 0; i < rows.size() && i < 20; ++i) {
        EXPECT_EQ(rank(rows[i]), static_cast<int>(i + 1));
        for (const char* col :
             {"value", "p_lower", "p_higher", "assessment_value", "reference_value"}) {
          EXPECT_EQ(rows[i].at(col), "") << col;
        }
        want.push_back(padded(rows[i].at("species_name")));
        ++checked;
      }
      if (rows.empty()) want.push_back("NO NEW SPECIES FOUND IN ASSESSMENT");
      if (rows.size() > 20) {
        want.push_back("AND " + editI(static_cast<int32_t>(rows.size() - 20), 2, 1) +
                       " MORE SPECIES.......");
      }
      EXPECT_EQ(want, s->list) << key;
    } else {
      const auto& up = lists[key + "increase"];
      const auto& down = lists[key + "decrease"];
      std::vector<std::string> want;
      auto line = [&](const std::map<std::string, std::string>& row) {
        ++checked;
        return editA(padded(row.at("species_name")), 25) + editF(valueOf(row.at("value")), 10, 4) +
               editF(valueOf(row.at("p_lower")), 10, 4) +
               editF(valueOf(row.at("p_higher")), 10, 4) +
               editF(valueOf(row.at("assessment_value")), 10, 4) +
               editF(valueOf(row.at("reference_value")), 10, 4);
      };
      for (const auto& row : up) want.push_back(line(row));
      want.push_back(".....");  // every golden case has a list length of at least 1
      for (const auto& row : down) want.push_back(line(row));
      EXPECT_EQ(want, s->list) << key;
    }
  }
  EXPECT_GT(checked, 0u);
}

// An export that cannot be created ends the run like a fixed-format file
// that cannot: its message, status 1, and no output file of the run left.
TEST(ExportsFailure, AnExportThatCannotBeCreatedEndsTheRunAndLeavesNothing) {
  struct Blocked {
    std::string file, options, message;
  };
  const std::vector<Blocked> cases = {
      {"tiny.tables.csv", "--csv", "error while opening .tables.csv output file"},
      {"tiny.assessment.csv", "--csv", "error while opening .assessment.csv output file"},
      {"tiny.species.csv", "--csv --html", "error while opening .species.csv output file"},
      {"tiny.html", "--html", "error while opening .html output file"},
  };
  for (const Blocked& b : cases) {
    const fs::path dir =
        fs::temp_directory_path() / ("ecoassess_exports_" + std::to_string(getpid()) + "_blocked");
    fs::remove_all(dir);
    fs::create_directories(dir / "run");
    for (const auto& entry : fs::directory_iterator(goldenDir("small_mode2") / "input")) {
      fs::copy_file(entry.path(), dir / "run" / entry.path().filename());
    }
    // A folder where the file should go cannot be written as a file.
    fs::create_directory(dir / "run" / b.file);
    EXPECT_EQ(runIn(dir, b.options), 1) << b.file;
    EXPECT_NE(readFile(dir / "console.txt").find(b.message), std::string::npos)
        << b.file << ": " << readFile(dir / "console.txt");
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir / "run")) {
      const std::string f = entry.path().filename().string();
      if (!fs::exists(goldenDir("small_mode2") / "input" / f) && f != b.file) left.insert(f);
    }
    EXPECT_EQ(left, std::set<std::string>{}) << b.file;
    fs::remove_all(dir);
  }
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

std::vector<Case> casesWith(bool summary) {
  std::vector<Case> out;
  for (const Case& c : kCases) {
    if (summary ? c.mode != 3 : c.mode != 1) out.push_back(c);
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(Golden, ExportsRun, ::testing::ValuesIn(kCases), caseName);
INSTANTIATE_TEST_SUITE_P(Golden, TablesRun, ::testing::ValuesIn(casesWith(true)), caseName);
INSTANTIATE_TEST_SUITE_P(Golden, ReportRun, ::testing::ValuesIn(casesWith(false)), caseName);

}  // namespace
}  // namespace eco
