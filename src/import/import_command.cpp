#include "import/import_command.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

#include "import/build_survey.h"
#include "import/columns.h"
#include "import/csv_table.h"
#include "import/names.h"
#include "import/survey_write.h"
#include "records/diagnostics.h"
#include "records/file_problem.h"

namespace eco {
namespace {

namespace fs = std::filesystem;

struct ImportOptions {
  std::string stations, samples, biomass, species, ecotopes;
  bool counts = false, force = false, help = false;
  std::string name, dir = ".", title;
  bool nameGiven = false, titleGiven = false;
  int mode = 2, maxStations = 0, listLength = -1;
};

struct UsageError {
  std::string text;
};

int wholeOption(const std::string& option, const std::string& value, int least) {
  int n = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (ec != std::errc() || end != value.data() + value.size() || n < least) {
    throw UsageError{"option " + option + " needs a whole number of at least " +
                     std::to_string(least) + ", not '" + value + "'"};
  }
  return n;
}

ImportOptions parseImportOptions(const std::vector<std::string>& args) {
  ImportOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::optional<std::string> inlineValue;
    if (const std::size_t eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = a.substr(eq + 1);
      a = a.substr(0, eq);
    }
    auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= args.size()) throw UsageError{"option " + a + " needs a value"};
      return args[++i];
    };
    auto flag = [&] {
      if (inlineValue) throw UsageError{"option " + a + " takes no value"};
      return true;
    };
    if (a == "--stations") {
      o.stations = value();
    } else if (a == "--samples") {
      o.samples = value();
    } else if (a == "--biomass") {
      o.biomass = value();
    } else if (a == "--species") {
      o.species = value();
    } else if (a == "--ecotopes") {
      o.ecotopes = value();
    } else if (a == "--counts") {
      o.counts = flag();
    } else if (a == "--force") {
      o.force = flag();
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--name") {
      o.name = value();
      o.nameGiven = true;
    } else if (a == "--dir") {
      o.dir = value();
      if (o.dir.empty()) throw UsageError{"option --dir needs a folder"};
    } else if (a == "--title") {
      o.title = value();
      o.titleGiven = true;
    } else if (a == "--mode") {
      o.mode = wholeOption(a, value(), 1);
      if (o.mode > 3) throw UsageError{"option --mode needs 1, 2 or 3, not '" + args[i] + "'"};
    } else if (a == "--max-stations") {
      o.maxStations = wholeOption(a, value(), 1);
    } else if (a == "--list-length") {
      o.listLength = wholeOption(a, value(), 0);
    } else if (!a.empty() && a[0] == '-') {
      throw UsageError{"unknown option '" + args[i] + "' of import"};
    } else {
      throw UsageError{"import takes its tables as options, not '" + a + "' (e.g. --stations " + a +
                       ")"};
    }
  }
  if (o.help) return o;
  if (o.stations.empty()) throw UsageError{"import needs --stations STATIONS.csv"};
  if (o.samples.empty()) throw UsageError{"import needs --samples SAMPLES.csv"};
  if (!o.nameGiven) o.name = fs::path(o.stations).stem().string();
  if (!o.titleGiven) o.title = o.name;
  return o;
}

bool hasControl(const std::string& s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

// Why NAME or the title cannot go into the header file; empty when they can.
std::string headerProblem(const ImportOptions& o) {
  const std::string how = o.nameGiven ? "" : " (from the stations file's name; give --name)";
  if (o.name.empty() || o.name == "." || o.name == "..") return "the name is empty" + how;
  if (o.name.find_first_of("/[") != std::string::npos || hasControl(o.name)) {
    return "the name '" + o.name + "' holds a '/', a '[' or a control character" + how;
  }
  if (quotedItem(o.name).size() > 75) {
    return "the name '" + o.name + "' is longer than a header value can be (73 bytes)" + how;
  }
  if (o.title.find('[') != std::string::npos || hasControl(o.title) || o.title.size() > 75) {
    return "the title holds a '[' or a control character, or is longer than 75 bytes" +
           std::string(o.titleGiven ? "" : " (it is the name; give --title)");
  }
  return "";
}

// The whole file, or false with why it cannot be read.
bool readWhole(const std::string& path, std::string& text, std::string& why) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    why = "it is a directory";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = whyNotReadable(path);
    return false;
  }
  // istream::read turns a failed read of the file into badbit.
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) {
    why = "an input/output error of the disk or the network share";
    return false;
  }
  return true;
}

std::string shellWord(const std::string& s) {
  if (!s.empty() && s.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        "0123456789._-/+") == std::string::npos) {
    return s;
  }
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

constexpr int64_t kProblemsShown = 50;

int tellProblems(const std::vector<TableProblem>& problems) {
  int64_t n = 0;
  for (const TableProblem& p : problems) {
    if (++n > kProblemsShown) break;
    tellUser(problemLine(p));
  }
  if (n > kProblemsShown) {
    tellUser("error: " + std::to_string(problems.size() - kProblemsShown) +
             " more problems not shown; nothing was written");
  } else {
    tellUser("error: nothing was written: correct the tables and import again");
  }
  return 1;
}

// The tables the options name, parsed; nothing with the problems noted.
std::optional<ImportTables> readTables(const ImportOptions& o,
                                       std::vector<TableProblem>& problems) {
  auto table = [&](const std::string& path) -> std::optional<CsvTable> {
    if (path.empty()) return std::nullopt;
    std::string text, why;
    if (!readWhole(path, text, why)) {
      problems.push_back({path, 0, "", "the file cannot be read: " + why});
      return std::nullopt;
    }
    return parseCsv(text, path, problems);
  };
  ImportTables tables;
  std::optional<CsvTable> stations = table(o.stations), samples = table(o.samples);
  tables.biomass = table(o.biomass);
  tables.species = table(o.species);
  tables.ecotopes = table(o.ecotopes);
  if (!problems.empty()) return std::nullopt;
  tables.stations = std::move(*stations);
  tables.samples = std::move(*samples);
  tables.counts = o.counts;
  tables.maxStations = o.maxStations;
  if (tables.biomass && findColumn(tables.samples, {"species", "taxon"}) >= 0) {
    problems.push_back({o.biomass, 0, "",
                        "--biomass goes with a samples table of one column per species; " +
                            o.samples + " has a species column: give the biomass there"});
    return std::nullopt;
  }
  return tables;
}

using SurveyFiles = std::vector<std::pair<std::string, const std::string*>>;

// The files of the survey that exist already, named for the message.
std::string existingFiles(const fs::path& dir, const SurveyFiles& files) {
  std::string existing;
  for (const auto& [file, body] : files) {
    std::error_code ec;
    if (fs::symlink_status(dir / file, ec).type() != fs::file_type::not_found && ec.value() == 0) {
      existing += (existing.empty() ? "" : ", ") + (dir / file).string();
    }
  }
  return existing;
}

// Written under temporary names and put in place together, so that a
// failure leaves no half survey behind. False once the failure is told.
bool writeSurveyFiles(const fs::path& dir, const SurveyFiles& files) {
  std::vector<fs::path> written;
  auto discard = [&] {
    std::error_code ec;
    for (const fs::path& p : written) fs::remove(p, ec);
  };
  for (const auto& [file, body] : files) {
    const fs::path tmp = dir / (file + ".import-tmp");
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (out) written.push_back(tmp);
    out.write(body->data(), static_cast<std::streamsize>(body->size()));
    out.close();
    if (!out) {
      tellUser("error: " + (dir / file).string() + ": the file cannot be written: " +
               whyNotCreatable(tmp.string()) + "; choose another --dir");
      discard();
      return false;
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::error_code ec;
    fs::rename(written[i], dir / files[i].first, ec);
    if (ec) {
      tellUser("error: " + (dir / files[i].first).string() +
               ": the file cannot be put in place: " + ec.message());
      discard();
      return false;
    }
  }
  return true;
}

void tellWritten(const ImportOptions& o, const ImportedSurvey& survey, const fs::path& dir,
                 const SurveyFiles& files) {
  std::size_t nref = 0;
  for (const auto& s : survey.stations) nref += s.reference;
  std::cout << "wrote " << (dir / files[0].first).string() << ", " << files[1].first << ", "
            << files[2].first << ", " << files[3].first << ", " << files[4].first << ": "
            << survey.ecotopes.size() << " ecotopes, " << nref << " reference and "
            << survey.stations.size() - nref << " assessment stations, " << survey.species.size()
            << " species, " << survey.records.size() << " records"
            << (survey.biomass ? " with biomass" : " without biomass") << "\n";
  std::cout << "run it with: " << (o.dir == "." ? std::string() : "cd " + shellWord(o.dir) + " && ")
            << "ecoassess " << shellWord(o.name + ".hdr") << "\n";
  std::cout.flush();
}

int importSurvey(const ImportOptions& o) {
  if (const std::string p = headerProblem(o); !p.empty()) {
    tellUser("error: " + p);
    return 1;
  }
  std::vector<TableProblem> problems;
  const std::optional<ImportTables> tables = readTables(o, problems);
  if (!tables) return tellProblems(problems);
  const ImportedSurvey survey = buildSurvey(*tables, problems);
  if (!problems.empty()) return tellProblems(problems);

  HeaderChoices choices{o.name, o.title, o.mode, o.maxStations, o.listLength};
  const SurveyText text = surveyText(survey, choices);
  const fs::path dir(o.dir);
  const SurveyFiles files = {{o.name + ".hdr", &text.header},
                             {o.name + ".SPE", &text.species},
                             {o.name + ".ETP", &text.ecotopes},
                             {o.name + ".STA", &text.stations},
                             {o.name + ".DAT", &text.data}};
  if (const std::string existing = existingFiles(dir, files); !existing.empty() && !o.force) {
    tellUser("error: " + existing +
             " exist already: nothing was written; give --force to replace them, or choose "
             "another --name or --dir");
    return 1;
  }
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) {
    tellUser("error: " + o.dir + ": the folder cannot be created: " + ec.message() +
             "; choose another --dir");
    return 1;
  }
  if (!writeSurveyFiles(dir, files)) return 1;
  tellWritten(o, survey, dir, files);
  return 0;
}

}  // namespace

std::string importUsage() {
  return "usage: ecoassess import --stations STATIONS.csv --samples SAMPLES.csv "
         "[--biomass BIOMASS.csv] [--species SPECIES.csv] [--ecotopes ECOTOPES.csv] [--counts] "
         "[--name NAME] [--dir DIR] [--title TEXT] [--mode N] [--max-stations N] "
         "[--list-length N] [--force]";
}

int runImport(const std::vector<std::string>& args) {
  ImportOptions o;
  try {
    o = parseImportOptions(args);
  } catch (const UsageError& e) {
    tellUser("ecoassess: " + e.text);
    tellUser(importUsage());
    return 2;
  }
  if (o.help) {
    std::cout << importUsage() << "\n\nSee docs/guide.md, \"From a spreadsheet\".\n";
    return 0;
  }
  return importSurvey(o);
}

}  // namespace eco
