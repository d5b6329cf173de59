// The located details of the driver's own failures.
#include "run/failure_detail.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace eco {
namespace {

namespace fs = std::filesystem;

struct TempDir {
  fs::path path = fs::temp_directory_path() / ("ecoassess_detail_" + std::to_string(::getpid()));
  TempDir() { fs::create_directories(path); }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

TEST(FailureDetail, OutputFileThatCannotBeCreated) {
  TempDir dir;
  RunSettings settings;
  settings.outputName = fixedText((dir.path / "result").string(), 150);
  const std::string base = (dir.path / "result").string();
  for (const char* extension : {".SIM", ".ASS", ".tables.csv", ".html"}) {
    fs::create_directory(base + extension);
    const std::string detail =
        outputFailure(std::string("error while opening ") + extension + " output file", settings);
    EXPECT_TRUE(startsWith(
        detail, "error: " + base + extension + ": the output file cannot be created in "))
        << detail;
    EXPECT_NE(detail.find(": a directory of that name is in the way; remove what is in the way, "
                          "or choose another [OUT] or [PAO]"),
              std::string::npos)
        << detail;
  }
  const std::string written = outputFailure("error while writing output file r.NSP", settings);
  EXPECT_TRUE(startsWith(written, "error: r.NSP: writing failed in ")) << written;
  // Messages of other failures have no detail here.
  EXPECT_EQ(outputFailure("Number of species greater than maxspec", settings), "");
  EXPECT_EQ(outputFailure("error while opening species file", settings), "");
}

TEST(FailureDetail, PathsAndHeader) {
  TempDir dir;
  const std::map<std::string, int64_t> lines = {{"[PAI]", 3}, {"[PAO]", 4}};
  const std::string missing = (dir.path / "nowhere").string();
  EXPECT_EQ(directoryFailure("h.hdr", lines, missing, false),
            "error: h.hdr, line 3: the input directory '" + missing +
                "' ([PAI]) cannot be entered: it does not exist; check [PAI]");
  const std::string file = (dir.path / "plain").string();
  { std::ofstream(file) << "x"; }
  EXPECT_EQ(directoryFailure("h.hdr", lines, file, true),
            "error: h.hdr, line 4: the output directory '" + file +
                "' ([PAO]) cannot be entered: it is not a directory; check [PAO]");
  EXPECT_EQ(noInputPathFailure("h.hdr", {}),
            "error: h.hdr: no [PAI] names the input directory: add a line such as [PAI] '.' (the "
            "directory of the input files)");
  EXPECT_TRUE(startsWith(noInputPathFailure("h.hdr", lines),
                         "error: h.hdr, line 3: [PAI] gives no input directory"));
  EXPECT_EQ(headerOpenFailure(missing),
            "error: " + missing +
                ": the header file cannot be opened: it does not exist; name an existing header "
                "file as the first argument");
  EXPECT_EQ(headerOpenFailure(dir.path.string()),
            "error: " + dir.path.string() +
                ": the header file cannot be opened: it is a directory; name an existing header "
                "file as the first argument");
  EXPECT_EQ(headerOpenFailure(""), "");
}

}  // namespace
}  // namespace eco
