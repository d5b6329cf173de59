#include "run/command_line.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "run/about.h"

namespace eco {
namespace {

// The value of option `name` at args[i], given as "name=value" or as the
// next argument (which then is consumed). Empty optional: no value.
std::optional<std::string> optionValue(const std::vector<std::string>& args, std::size_t& i,
                                       std::string_view name) {
  const std::string& a = args[i];
  if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
    return a.substr(name.size() + 1);
  }
  if (i + 1 >= args.size()) return std::nullopt;
  return args[++i];
}

bool isOption(const std::string& a, std::string_view name) {
  return a == name ||
         (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=');
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  if (args.empty()) return cl;
  if (args[0] == "--help" || args[0] == "-h") {
    cl.action = CommandLine::Action::help;
    return cl;
  }
  if (args[0] == "--version") {
    cl.action = CommandLine::Action::version;
    return cl;
  }
  auto fail = [&](std::string message) {
    cl.action = CommandLine::Action::usageError;
    cl.error = std::move(message);
    return cl;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (isOption(a, "--threads")) {
      const std::optional<std::string> v = optionValue(args, i, "--threads");
      if (!v || v->empty()) return fail("option --threads needs a number of threads");
      int n = 0;
      const auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
      if (ec != std::errc() || end != v->data() + v->size() || n < 1) {
        return fail("option --threads needs a whole number of at least 1, not '" + *v + "'");
      }
      cl.threads = n;
    } else if (a == "--csv") {
      cl.csv = true;
    } else if (a == "--html") {
      cl.html = true;
    } else if (a == "--strict") {
      cl.strict = true;
    } else if (!cl.headerGiven) {
      // Whatever it looks like: a header file may be named "-x.hdr".
      cl.headerGiven = true;
      cl.headerFile = a;
    } else if (!a.empty() && a[0] == '-') {
      return fail("unknown option '" + a + "'");
    }
    // Any other further argument is ignored, as it always was.
  }
  return cl;
}

std::string usageLine() {
  return "usage: ecoassess HEADERFILE [--threads N] [--csv] [--html] [--strict]";
}

std::string helpText() {
  return usageLine() + "\n" +
         "\n"
         "Ecological quality assessment of species samples. The header file names the\n"
         "input files (NAME.SPE, NAME.ETP, NAME.STA, NAME.DAT), the outputs and the mode.\n"
         "\n"
         "Options (before or after the header file's name):\n"
         "  --threads N   draw pseudo-samples on N threads (default: all hardware threads);\n"
         "                the results are the same for every N\n"
         "  --csv         also write tidy comma-separated tables (OUT.tables.csv,\n"
         "                OUT.assessment.csv, OUT.species.csv)\n"
         "  --html        also write a self-contained report with plots (OUT.html)\n"
         "  --strict      stop, writing nothing, when the input gives any warning\n"
         "  -h, --help    show this text\n"
         "  --version     show the version\n"
         "\n"
         "From spreadsheet tables (CSV) to a survey: ecoassess import --help\n"
         "\n"
         "Header keywords (one value each; a # hides the rest of its line; end with [EOF]):\n"
         "  [TIT] title                          [PAI] input directory (required)\n"
         "  [PAO] output directory               [INP] base name of the input files\n"
         "  [OUT] base name of the output files  [BIO] biomass present: y/n (default y)\n"
         "  [ASS] assessment data: y/n           [MET] most ecotopes (default 20)\n"
         "  [MSP] most species (default 500)     [MST] most stations per group (default 1250)\n"
         "  [EMS] code of 'no fauna' (999)       [ARM] 1 tables, 2 both, 3 report (default 1)\n"
         "  [LLN] length of species lists (10)   [EOF] end of the header\n"
         "Quote paths and names that hold blanks or slashes: [PAI] '/data/survey 2024'.\n"
         "[MST] also sets how many random numbers each pseudo-sample takes: keep it to\n"
         "reproduce earlier results.\n"
         "\n"
         "The guide, " +
         guideLocation() + ", explains the input files, the outputs and every message.\n";
}

}  // namespace eco
