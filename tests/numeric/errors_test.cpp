#include "numeric/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "numeric/error_capture.h"

namespace eco {
namespace {

using ErrorFacility = ErrorCapture;

class Placeholders : public ErrorFacility {
 protected:
  template <typename Values>
  std::string raise(std::string_view tmpl, Values values) {
    E1PSH("TESTR");
    values();
    E1MES(6, 1, tmpl);
    E1POP("TESTR");
    return printed();
  }
  std::string line(std::string_view text) {
    return "\n *** WARNING  ERROR 1 from TESTR" + std::string(text) + "\n";
  }
};

struct RealCase {
  float value;
  const char* text;
};

TEST_F(Placeholders, RealValuesHaveSevenSignificantDigits) {
  const RealCase cases[] = {
      {1.5f, "1.500000E+00"},
      {-0.002f, "-2.000000E-03"},
      {0.0f, "0.000000E+00"},
      {-0.0f, "0.000000E+00"},
      {std::numeric_limits<float>::quiet_NaN(), "NaN"},
      {123456.789f, "1.234568E+05"},
      {1.0e-40f, "9.999946E-41"},
      {3.4028235e38f, "3.402823E+38"},
      {0.025f, "2.500000E-02"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(raise("R = %(R1).", [&] { E1VALR(1, c.value); }),
              line(std::string(".  R = ") + c.text + "."))
        << c.text;
  }
}

TEST_F(Placeholders, IntegerAndTextValues) {
  EXPECT_EQ(raise("%(I1) %(I2) %(I9)",
                  [] {
                    E1VALI(1, 0);
                    E1VALI(2, -12);
                    E1VALI(9, 2147483647);
                  }),
            line(".  0 -12 2147483647"));
  EXPECT_EQ(raise("[%(L1)] [%(L2)] [%(L3)]",
                  [] {
                    E1VALS(1, "ab  ");
                    E1VALS(-2, "cd  ");
                    E1VALS(3, "   ");
                  }),
            line(".  [ab] [cd  ] [ ]"));
}

TEST_F(Placeholders, WithoutStoredValueOrUnknownFormCopiedUnchanged) {
  EXPECT_EQ(raise("%(I1) %(R2) %(Q1) %(I0) %(I1 100% %", [] {}),
            line(".  %(I1) %(R2) %(Q1) %(I0) %(I1 100% %"));
  // A value stored for one letter does not serve another.
  EXPECT_EQ(raise("%(R1) %(I1)", [] { E1VALI(1, 4); }), line(".  %(R1) 4"));
}

TEST_F(Placeholders, EarlierValueWinsAndStoreIsEmptiedByEveryRaise) {
  EXPECT_EQ(raise("%(I1)",
                  [] {
                    E1VALI(1, 5);
                    E1VALI(1, 7);
                  }),
            line(".  5"));
  EXPECT_EQ(raise("%(I1)", [] {}), line(".  %(I1)"));
}

TEST_F(Placeholders, StoreHoldsThreeHundredCharacters) {
  // 255 + 8 = 263 used; 263 + 29 + 8 = 300 still fits; nothing more does.
  EXPECT_EQ(raise("%(L2)|%(L3)|%(I4)",
                  [] {
                    E1VALS(1, std::string(255, 'x'));
                    E1VALS(2, std::string(29, 'y'));
                    E1VALS(3, "z");
                    E1VALI(4, 1);
                  }),
            line(".  " + std::string(29, 'y') + "|%(L3)|%(I4)"));
  // Keys outside 1..9 are dropped.
  EXPECT_EQ(raise("%(I1)",
                  [] {
                    E1VALI(0, 3);
                    E1VALI(10, 3);
                  }),
            line(".  %(I1)"));
}

TEST_F(ErrorFacility, BreakMarkSplitsLinesAndIsNotPrinted) {
  E1PSH("TESTR");
  E1MES(6, 2, "First part%/second part%/third");
  E1POP("TESTR");
  EXPECT_EQ(printed(),
            "\n *** WARNING  ERROR 2 from TESTR.  First part\n"
            " ***          second part\n"
            " ***          third\n");
}

TEST_F(ErrorFacility, WordLongerThanALineIsCutAtTheLimit) {
  E1PSH("TESTR");
  E1MES(6, 2, std::string(150, 'a'));
  E1POP("TESTR");
  // The only blanks are those of ".  ": the first line breaks before the
  // second of them, the first continuation's window counts from that blank.
  EXPECT_EQ(printed(), "\n *** WARNING  ERROR 2 from TESTR. \n ***          " +
                           std::string(63, 'a') + "\n ***          " + std::string(64, 'a') +
                           "\n ***          " + std::string(23, 'a') + "\n");
}

TEST_F(ErrorFacility, MessageIsCutAt1024Characters) {
  E1PSH("TESTR");
  std::string tmpl;
  for (int i = 0; i < 300; ++i) tmpl += "abc ";
  E1MES(6, 2, tmpl);
  E1POP("TESTR");
  const std::string out = printed();
  std::size_t letters = 0;
  for (char c : out) letters += (c >= 'a' && c <= 'c');
  EXPECT_EQ(letters, 766u);  // 1021 characters after ".  ": 255 words and "a"
  EXPECT_EQ(out.substr(out.size() - 3), " a\n");
}

TEST_F(ErrorFacility, TerminalErrorPrintsAtOnceAndStopsWhenTheRoutineReturns) {
  E1PSH("OUTER");
  E1PSH("INNER");
  E1VALI(1, 7);
  E1MES(5, 9, "Bad value %(I1).");
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 9 from INNER.  Bad value 7.\n"
            "     Here is a traceback of subprogram calls in reverse order:\n"
            "     Routine name                    Error type  Error code\n"
            "     ------------                    ----------  ----------\n"
            "     INNER                                5           9    (Called internally)\n"
            "     OUTER                                0           0\n"
            "     USER                                 0           0\n");
  EXPECT_THROW(E1POP("INNER"), RunStopped);
  EXPECT_EQ(printed(), "");
}

TEST(ErrorFacilityDefaults, StopEndsTheProcessWithStatusOne) {
  EXPECT_EXIT(
      {
        resetErrorFacility();
        E1PSH("A");
        E1MES(5, 1, "x");
        E1POP("A");
      },
      ::testing::ExitedWithCode(1), "");
}

TEST_F(ErrorFacility, WarningWaitsForTheRoutineCalledByTheProgram) {
  E1PSH("OUTER");
  E1PSH("INNER");
  E1MES(3, 1, "First warning.");
  E1MES(3, 2, "Second warning.");
  E1POP("INNER");
  EXPECT_EQ(printed(), "");
  EXPECT_EQ(N1RCD(0), 2);  // inherited by the caller
  E1POP("OUTER");
  EXPECT_EQ(printed(), "\n *** WARNING  ERROR 2 from OUTER.  Second warning.\n");
  // The program's own level keeps the last inherited error.
  E1PSH("A");
  E1PSH("B");
  E1MES(5, 4, "x");
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 4 from B.  x\n"
            "     Here is a traceback of subprogram calls in reverse order:\n"
            "     Routine name                    Error type  Error code\n"
            "     ------------                    ----------  ----------\n"
            "     B                                    5           4    (Called internally)\n"
            "     A                                    0           0\n"
            "     USER                                 3           2\n");
}

TEST_F(ErrorFacility, NotesAndAlertsAreNotPrinted) {
  E1PSH("OUTER");
  E1MES(1, 1, "A note.");
  E1POP("OUTER");
  E1PSH("OUTER");
  E1MES(2, 1, "An alert.");
  E1POP("OUTER");
  EXPECT_EQ(printed(), "");
}

TEST_F(ErrorFacility, FatalErrorPrintsAndStopsWhenTheCalledRoutineReturns) {
  E1PSH("OUTER");
  E1PSH("INNER");
  E1MES(4, 6, "Fatal.");
  E1POP("INNER");
  EXPECT_EQ(printed(), "");
  EXPECT_THROW(E1POP("OUTER"), RunStopped);
  EXPECT_EQ(printed(), "\n *** FATAL    ERROR 6 from OUTER.  Fatal.\n");
}

TEST_F(ErrorFacility, ImmediateFatalStopsWhenTheCalledRoutineReturns) {
  E1PSH("OUTER");
  E1MES(7, 3, "Immediate.");
  EXPECT_EQ(printed(), "\n *** FATAL    ERROR 3 from OUTER.  Immediate.\n");
  EXPECT_THROW(E1POP("OUTER"), RunStopped);
  EXPECT_EQ(printed(), "");
}

TEST_F(ErrorFacility, TypeOrCodeZeroClearsTheMessage) {
  E1PSH("OUTER");
  E1MES(3, 1, "Pending warning.");
  E1MES(3, 0, "Ignored.");
  E1POP("OUTER");
  EXPECT_EQ(printed(), "");
  // A blank template keeps the pending message.
  E1PSH("OUTER");
  E1MES(3, 1, "Kept.");
  E1MES(3, 5, " ");
  E1POP("OUTER");
  EXPECT_EQ(printed(), "\n *** WARNING  ERROR 5 from OUTER.  Kept.\n");
}

TEST_F(ErrorFacility, N1rcdReadsTopAndJustPoppedLevel) {
  E1PSH("OUTER");
  EXPECT_EQ(N1RCD(0), 0);
  E1PSH("INNER");
  E1MES(3, 3, "Three.");
  E1POP("INNER");
  EXPECT_EQ(N1RCD(1), 3);
  E1POP("OUTER");
  printed();
  // Pushing again clears the level.
  E1PSH("OUTER");
  EXPECT_EQ(N1RCD(0), 0);
  E1POP("OUTER");
}

TEST_F(ErrorFacility, N1rcdRejectsOtherArguments) {
  E1PSH("OUTER");
  EXPECT_THROW(N1RCD(2), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 1 from OUTER.  The argument passed to N1RCD must be 0 or\n"
            " ***          1.\n");
}

TEST_F(ErrorFacility, PopWithAMismatchedName) {
  E1PSH("EQTIL ");
  EXPECT_THROW(E1POP("E2TIL "), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 2 from EQTIL.  Error condition in E1POP.  E2TIL does not\n"
            " ***          match the name EQTIL in the stack.\n");
}

TEST_F(ErrorFacility, NamesCompareBlankPadded) {
  E1PSH("SVRGN ");
  E1POP("SVRGN");
  E1PSH("SVRGN");
  E1POP("SVRGN      ");
  EXPECT_EQ(printed(), "");
}

TEST_F(ErrorFacility, PopFromTheEmptyStack) {
  EXPECT_THROW(E1POP("FOO"), RunStopped);
  EXPECT_EQ(printed(),
            "\n *** TERMINAL ERROR 1 from E1POP.  Error condition in E1POP.  Cannot pop from\n"
            " ***          FOO because stack is empty.\n");
}

TEST_F(ErrorFacility, PushBeyondFiftyLevels) {
  for (int i = 2; i <= 50; ++i) {
    std::string name = "N";
    name += std::to_string(i);
    E1PSH(name);
  }
  EXPECT_EQ(printed(), "");
  EXPECT_THROW(E1PSH("N51"), RunStopped);
  const std::string out = printed();
  const std::string head =
      "\n *** TERMINAL ERROR 1 from N50.  Error condition in E1PSH.  Push would cause\n"
      " ***          stack level to exceed 50.\n"
      "     Here is a traceback of subprogram calls in reverse order:\n";
  EXPECT_EQ(out.substr(0, head.size()), head);
  EXPECT_NE(out.find("\n     N50                                  5           1    (Called "
                     "internally)\n     N49                                  0           0    "
                     "(Called internally)\n"),
            std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 112),
            "     N2                                   0           0\n"
            "     USER                                 0           0\n");
}

TEST_F(ErrorFacility, PopMarksTheLevelAboveTheTop) {
  E1PSH("A");
  E1PSH("B");
  E1MES(3, 3, "Three.");
  E1POP("B");
  E1POP("A");
  EXPECT_EQ(N1RCD(1), 3);  // A inherited B's code
  printed();
  // Popping A marked B's slot; a fresh routine at A's level sees the mark.
  E1PSH("X");
  EXPECT_EQ(N1RCD(1), -1);
  E1POP("X");
}

}  // namespace
}  // namespace eco
