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
