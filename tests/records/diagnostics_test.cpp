// The process-wide sink for messages on standard error.
#include "records/diagnostics.h"

#include <gtest/gtest.h>

#include <sstream>

namespace eco {
namespace {

TEST(Diagnostics, LocatedFailureLines) {
  EXPECT_EQ(failureLine("s.DAT", 3, 7, "bad"), "error: s.DAT, line 3, column 7: bad");
  EXPECT_EQ(failureLine("s.DAT", 3, 0, "bad"), "error: s.DAT, line 3: bad");
  EXPECT_EQ(failureLine("s.DAT", 0, 7, "bad"), "error: s.DAT: bad");
  EXPECT_EQ(failureLine("", 0, 0, "bad"), "error: bad");
  std::ostringstream err;
  resetDiagnostics(&err);
  for (int i = 0; i < 12; ++i) failAt("h.hdr", 2, 0, "x");
  finishWarnings();
  resetDiagnostics(nullptr);
  // Failure details are never limited nor counted.
  std::string expected;
  for (int i = 0; i < 12; ++i) expected += "error: h.hdr, line 2: x\n";
  EXPECT_EQ(err.str(), expected);
}

TEST(Diagnostics, ShownValues) {
  EXPECT_EQ(shownValue("Devil's"), "'Devil's'");
  EXPECT_EQ(shownValue(""), "''");
  EXPECT_EQ(shownValue("\xEF\xBB\xBF"
                       "10"),
            "'<byte order mark>10'");
  EXPECT_EQ(shownValue(std::string("a\tb\0c", 5)), "'a\\x09b\\x00c'");
  EXPECT_EQ(shownValue("caf\xC3\xA9"), "'caf\xC3\xA9'");  // other bytes as they are
  EXPECT_EQ(shownValue("Del\x7F"), "'Del\\x7F'");
}

TEST(Diagnostics, LinesAreSafeForATerminal) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain text, caf\xC3\xA9 \xE2\x80\x93 \xF0\x9F\x90\x9F",
       "plain text, caf\xC3\xA9 \xE2\x80\x93 \xF0\x9F\x90\x9F"},
      {"\x1B[2J\x1B[H clear", "\\x1B[2J\\x1B[H clear"},
      {"bell\a, CR\r, DEL\x7F", "bell\\x07, CR\\x0D, DEL\\x7F"},
      {"C1 CSI \xC2\x9B"
       "31m",
       "C1 CSI \\xC2\\x9B31m"},
      {"lone \x9B, cut \xC3", "lone \\x9B, cut \\xC3"},
      {"overlong \xC0\xAF, surrogate \xED\xA0\x80",
       "overlong \\xC0\\xAF, surrogate \\xED\\xA0\\x80"},
      {"beyond U+10FFFF \xF4\x90\x80\x80", "beyond U+10FFFF \\xF4\\x90\\x80\\x80"},
      {"Latin-1 caf\xE9 au lait", "Latin-1 caf\\xE9 au lait"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(terminalSafe(in), want) << in;
  std::ostringstream err;
  resetDiagnostics(&err);
  warnAbout("ecotope 3", "left out", "ecotope 3 (\x1B]0;owned\x07Heath): left out");
  warnAt("t.SPE", 2, "name", "species 'Festuca\x7F'");
  tellUser("error: \xFF");
  resetDiagnostics(nullptr);
  EXPECT_EQ(err.str(),
            "warning: ecotope 3 (\\x1B]0;owned\\x07Heath): left out\n"
            "warning: t.SPE, line 2: species 'Festuca\\x7F'\nerror: \\xFF\n");
}

TEST(Diagnostics, WarningsAreLimitedPerFileAndKind) {
  std::ostringstream err;
  resetDiagnostics(&err);
  for (int i = 1; i <= 13; ++i) warnAt("a.DAT", i, "unread value", "w");
  warnAt("b.DAT", 1, "unread value", "w");
  warnAt("a.DAT", 20, "repeated record", "r");
  finishWarnings();
  finishWarnings();  // the counts are told once
  resetDiagnostics(nullptr);
  std::string expected;
  for (int i = 1; i <= 10; ++i) expected += "warning: a.DAT, line " + std::to_string(i) + ": w\n";
  expected += "warning: b.DAT, line 1: w\n";
  expected += "warning: a.DAT, line 20: r\n";
  expected += "warning: a.DAT: 3 more unread value warnings not shown\n";
  EXPECT_EQ(err.str(), expected);
}

}  // namespace
}  // namespace eco
