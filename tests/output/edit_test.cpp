#include "output/edit.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace eco {
namespace {

using Records = std::vector<std::string>;

std::string blanks(size_t n) { return std::string(n, ' '); }

Records edit(std::string_view format, const std::vector<OutItem>& items) {
  return editRecords(format, items);
}

const float qprop[11] = {0.01f, 0.025f, 0.05f, 0.10f,  0.25f, 0.50f,
                         0.75f, 0.90f,  0.95f, 0.975f, 0.99f};

TEST(FormatControl, StopsAtDataDescriptorWithoutItem) {
  const std::string title = "Percentiles of reference distribution after iteration";
  EXPECT_EQ(edit("(A,A,/)", {OutItem::of(title)}), Records{title});
  EXPECT_EQ(edit("(/)", {}), (Records{"", ""}));
  EXPECT_EQ(edit("(A,/)", {OutItem::of("SIMILARITY CALCULATIONS")}),
            (Records{"SIMILARITY CALCULATIONS", ""}));
  EXPECT_EQ(edit("(/,A)", {OutItem::of("###")}), (Records{"", "###"}));
  EXPECT_EQ(edit("(/,A,A,/)", {OutItem::of("ECOTOPE "), OutItem::of("NAME  ")}),
            (Records{"", "ECOTOPE NAME  ", ""}));
  EXPECT_EQ(edit("(A)", {}), Records{""});
  EXPECT_EQ(edit("()", {}), Records{""});
  EXPECT_EQ(edit("(A,F10.2)", {OutItem::of("X")}), Records{"X"});
}

TEST(FormatControl, GradeLineHolds37Characters) {
  const Records r =
      edit("(A,A,/)", {OutItem::of("Power to detect changes is "), OutItem::of("VERY POOR ")});
  EXPECT_EQ(r, (Records{"Power to detect changes is VERY POOR ", ""}));
  EXPECT_EQ(r[0].size(), 37u);
}

TEST(FormatControl, SkippedPositionsOnlyBeforeAWrittenCharacter) {
  EXPECT_EQ(edit("(A,5X)", {OutItem::of("AB")}), Records{"AB"});
  EXPECT_EQ(edit("(5X,A)", {OutItem::of("AB")}), Records{"     AB"});
  EXPECT_EQ(edit("(A,2X,A)", {OutItem::of("AB"), OutItem::of("")}), Records{"AB"});
  EXPECT_EQ(edit("(A,2X,3X,A)", {OutItem::of("AB"), OutItem::of("C")}), Records{"AB     C"});
  EXPECT_EQ(edit("(3X,/,A)", {OutItem::of("C")}), (Records{"", "C"}));
}

TEST(FormatControl, MoreSpeciesLine) {
  const std::vector<OutItem> five = {OutItem::of("AND "), OutItem::of(int32_t{5}),
                                     OutItem::of("MORE SPECIES.......")};
  EXPECT_EQ(edit("(A,I2,1X,A)", five), Records{"AND  5 MORE SPECIES......."});
  const std::vector<OutItem> many = {OutItem::of("AND "), OutItem::of(int32_t{100}),
                                     OutItem::of("MORE SPECIES.......")};
  EXPECT_EQ(edit("(A,I2,1X,A)", many), Records{"AND ** MORE SPECIES......."});
}

TEST(FormatControl, ValueRecords) {
  EXPECT_EQ(edit("(F15.5,5X,A)",
                 {OutItem::of(0.0125f), OutItem::of("PROBABILITY TO FIND LOWER VALUE BY CHANCE")}),
            Records{"        0.01250     PROBABILITY TO FIND LOWER VALUE BY CHANCE"});
  EXPECT_EQ(
      edit("(F15.0,5X,A)", {OutItem::of(23.0f), OutItem::of("NUMBER OF SPECIES IN REFERENCE")}),
      Records{"            23.     NUMBER OF SPECIES IN REFERENCE"});
  EXPECT_EQ(
      edit("(A,F10.2)", {OutItem::of("Total surface of reference sample  "), OutItem::of(1.5f)}),
      Records{"Total surface of reference sample        1.50"});
}

TEST(FormatControl, ContributorRow) {
  const std::string name = "Abra alba                                         ";  // 50
  std::vector<OutItem> items = {OutItem::of(name)};
  const float cols[3] = {12.3456f, 0.025f, 1.0f};
  appendReals(items, cols);
  EXPECT_EQ(edit("(A25,3F10.4)", items),
            Records{"Abra alba                   12.3456    0.0250    1.0000"});
}

TEST(FormatControl, PercentileLines) {
  std::vector<OutItem> items;
  appendReals(items, qprop);
  ASSERT_EQ(items.size(), 11u);
  EXPECT_EQ(
      edit("(11F7.3)", items),
      Records{"  0.010  0.025  0.050  0.100  0.250  0.500  0.750  0.900  0.950  0.975  0.990"});
  EXPECT_EQ(
      edit("(11F8.1)", items),
      Records{"     0.0     0.0     0.1     0.1     0.2     0.5     0.8     0.9     0.9     1.0"
              "     1.0"});  // 0.25 and 0.75 are ties; 0.95f lies below 0.95
}

TEST(FormatControl, SummaryRow) {
  std::vector<OutItem> items = {OutItem::of(int32_t{7}), OutItem::of(0.25f)};
  const float q[11] = {0.5f,
                       12.345f,
                       -3.0f,
                       1e12f,
                       0.0f,
                       100.0f,
                       0.004f,
                       -0.004f,
                       100000000.0f,
                       2.5f,
                       std::numeric_limits<float>::quiet_NaN()};
  appendReals(items, q);
  const Records r = edit("(I2.2,8X,F12.5,2X,11F12.2)", items);
  ASSERT_EQ(r.size(), 1u);
  const std::string expected = "07" + blanks(8) + "     0.25000" + blanks(2) +
                               "        0.50"
                               "       12.35"
                               "       -3.00"
                               "************"
                               "        0.00"
                               "      100.00"
                               "        0.00"
                               "        0.00"
                               "100000000.00"
                               "        2.50"
                               " NaN        ";
  EXPECT_EQ(r[0], expected);
  EXPECT_EQ(r[0].size(), 156u);
  EXPECT_EQ(r[0].substr(10, 12), "     0.25000");

  const std::vector<OutItem> wide = {OutItem::of(int32_t{123}), OutItem::of(0.5f)};
  EXPECT_EQ(edit("(I2.2,8X,F12.5,2X,11F12.2)", wide), Records{"**" + blanks(8) + "     0.50000"});
}

TEST(HeaderFormat, AssembledAtRunTime) {
  EXPECT_EQ(buildHeaderFormat(11), "(A8,2X,A12,2X,11F12.3)" + blanks(128));
  EXPECT_EQ(buildHeaderFormat(11).size(), 150u);
  EXPECT_EQ(buildHeaderFormat(5), "(A8,2X,A12,2X, 5F12.3)" + blanks(128));
  EXPECT_EQ(buildHeaderFormat(100), "(A8,2X,A12,2X,**F12.3)" + blanks(128));
  EXPECT_TRUE(editRecords(buildHeaderFormat(100), {}).empty());
}

TEST(HeaderFormat, EditsTheSummaryHeaderLine) {
  std::vector<OutItem> items = {OutItem::of("Ecotope"), OutItem::of("Surface ")};
  appendReals(items, qprop);
  const Records r = editRecords(buildHeaderFormat(11), items);
  const std::string expected = " Ecotope" + blanks(2) + "    Surface " + blanks(2) + blanks(7) +
                               "0.010" + blanks(7) + "0.025" + blanks(7) + "0.050" + blanks(7) +
                               "0.100" + blanks(7) + "0.250" + blanks(7) + "0.500" + blanks(7) +
                               "0.750" + blanks(7) + "0.900" + blanks(7) + "0.950" + blanks(7) +
                               "0.975" + blanks(7) + "0.990";
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0], expected);
  EXPECT_EQ(r[0].size(), 156u);
}

TEST(HeaderFormat, FewerColumnsStillAFormat) {
  std::vector<OutItem> items = {OutItem::of("Ecotope"), OutItem::of("Surface ")};
  appendReals(items, std::span(qprop, 2));
  EXPECT_EQ(
      editRecords(buildHeaderFormat(2), items),
      Records{" Ecotope" + blanks(6) + "Surface " + blanks(9) + "0.010" + blanks(7) + "0.025"});
}

TEST(FormatText, BlanksCaseAndTrailingText) {
  const std::vector<OutItem> items = {OutItem::of(int32_t{5}), OutItem::of(2.5f)};
  EXPECT_EQ(edit("   ( i2.2 , 3 x , f 7 . 2 ) and whatever follows", items),
            Records{"05      2.50"});
  EXPECT_EQ(edit("(I2.2/F7.2)", items), (Records{"05", "   2.50"}));
  EXPECT_EQ(edit("(/A/)", {OutItem::of("T")}), (Records{"", "T", ""}));
  EXPECT_EQ(edit("(2A3)", {OutItem::of("a"), OutItem::of("bcde")}), Records{"  abcd"});
}

TEST(FormatText, MalformedGivesNoRecords) {
  const std::vector<OutItem> items = {OutItem::of("X"), OutItem::of(int32_t{1})};
  const char* bad[] = {"",     "   ",      "A8",      "(A8",      "x(A)",    "(A8,,A)",
                       "(,A)", "(A,)",     "(F12)",   "(F12.)",   "(F.2)",   "(Q5)",
                       "(X)",  "(0X)",     "(0A)",    "(A0)",     "(I0)",    "(A8 2X)",
                       "(2/)", "(99999A)", "(A,I2.)", "(A,(I2))", "(-1X,A)", "(A;I2)"};
  for (const char* f : bad) EXPECT_TRUE(edit(f, items).empty()) << '"' << f << '"';
  std::ostringstream out;
  write(out, "(A8", items);
  EXPECT_EQ(out.str(), "");
}

TEST(FormatText, ItemOfTheWrongKindGivesAsterisks) {
  EXPECT_EQ(edit("(I3)", {OutItem::of("AB")}), Records{"***"});
  EXPECT_EQ(edit("(F7.2,1X,A)", {OutItem::of(int32_t{4}), OutItem::of("ok")}),
            Records{"******* ok"});
  EXPECT_EQ(edit("(A,A4)", {OutItem::of(1.0f), OutItem::of(int32_t{1})}), Records{"*****"});
}

TEST(FormatText, LeftoverItemsStartTheFormatOver) {
  EXPECT_EQ(edit("(A)", {OutItem::of("one"), OutItem::of("two")}), (Records{"one", "two"}));
  const std::vector<OutItem> three = {OutItem::of(int32_t{1}), OutItem::of(int32_t{2}),
                                      OutItem::of(int32_t{3})};
  EXPECT_EQ(edit("(I3,I3)", three), (Records{"  1  2", "  3"}));
  // A format without data descriptors cannot take the items: one pass only.
  EXPECT_EQ(edit("(/)", three), (Records{"", ""}));
}

TEST(WriteRecords, EndsEveryRecordWithCrLf) {
  std::ostringstream out;
  const std::string hashes(45, '#');
  write(out, "(/,A)", std::vector<OutItem>{OutItem::of(hashes)});
  write(out, "(/)", {});
  EXPECT_EQ(out.str(), "\r\n" + hashes + "\r\n\r\n\r\n");

  std::ostringstream raw;
  writeRecords(raw, {"ab ", "", "c"});
  EXPECT_EQ(raw.str(), std::string("ab \r\n\r\nc\r\n"));
  std::ostringstream none;
  writeRecords(none, {});
  EXPECT_EQ(none.str(), "");
}

TEST(WriteRecords, ConsoleRecordsEndWithLineFeed) {
  std::ostringstream out;
  writeConsoleRecords(out, {"", " *** ERROR", ""});
  EXPECT_EQ(out.str(), "\n *** ERROR\n\n");
}

}  // namespace
}  // namespace eco

namespace eco {
namespace {

// Random texts over the format alphabet never crash the editor, and every
// record that a valid format writes holds only edited characters.
TEST(FormatText, RandomFormatsAreSafe) {
  const std::string alphabet = "()AaIiFfXx/.,0123456789 Q*-";
  std::mt19937 gen(7u);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  const std::vector<OutItem> items = {OutItem::of("TEXT"), OutItem::of(int32_t{-42}),
                                      OutItem::of(3.25f), OutItem::of(std::string(60, 'n')),
                                      OutItem::of(1e30f)};
  size_t valid = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string f = "(";
    const int len = length(gen);
    for (int k = 0; k < len; ++k) f += alphabet[pick(gen)];
    if (n % 2 == 0) f += ')';
    const Records r = edit(f, items);
    if (!r.empty()) ++valid;
    for (const std::string& rec : r) {
      EXPECT_EQ(rec.find('\0'), std::string::npos) << f;
      EXPECT_LE(rec.size(), 5u * 32767u * 24u) << f;
    }
  }
  EXPECT_GT(valid, 0u);
}

}  // namespace
}  // namespace eco
