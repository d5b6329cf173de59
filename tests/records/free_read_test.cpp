#include "records/free_read.h"

#include <gtest/gtest.h>

#include <charconv>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "records/failing_buffer.h"

namespace eco {
namespace {

// The items of one read, written as "i r t10": integer, real, text of 10.
// Items start as -1, -1 and '#' filling their length, so an item left
// unchanged is visible in the rendering.
struct ItemList {
  std::vector<int32_t> ints;
  std::vector<float> reals;
  std::vector<std::string> texts;
  std::vector<ReadItem> items;

  explicit ItemList(const std::string& pattern) {
    std::istringstream words(pattern);
    std::vector<std::string> kinds;
    for (std::string w; words >> w;) kinds.push_back(w);
    ints.reserve(kinds.size());
    reals.reserve(kinds.size());
    texts.reserve(kinds.size());
    for (const std::string& w : kinds) {
      if (w[0] == 'i') {
        ints.push_back(-1);
        items.push_back(ReadItem::integer(ints.back()));
      } else if (w[0] == 'r') {
        reals.push_back(-1.0f);
        items.push_back(ReadItem::real(reals.back()));
      } else {
        const std::size_t length = std::stoul(w.substr(1));
        texts.push_back(std::string(length, '#'));
        items.push_back(ReadItem::text(texts.back(), length));
      }
    }
  }

  std::string render() const {
    std::string out;
    for (const ReadItem& item : items) {
      out += ' ';
      if (item.kind == ReadItem::Kind::integer) {
        out += std::to_string(*item.integerValue);
      } else if (item.kind == ReadItem::Kind::real) {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, *item.realValue);
        out.append(buf, r.ptr);
      } else {
        out += '[' + *item.textValue + ']';
      }
    }
    return out;
  }
};

std::string outcomeWord(const ReadResult& r) {
  if (r.outcome == ReadOutcome::complete) return "ok";
  if (r.outcome == ReadOutcome::endOfFile) return "eof";
  if (r.report.rfind("input conversion error", 0) == 0) return "conversion";
  return "syntax";
}

// One read from a file holding `content`: outcome word and item values.
std::string readFile(const std::string& content, const std::string& pattern) {
  std::istringstream in(content);
  RecordSource source = fileSource(in, "test.DAT", 13);
  ItemList list(pattern);
  const ReadResult r = readRecord(source, list.items);
  return outcomeWord(r) + list.render();
}

// One read of `items` from a file holding `content`: what it keeps for the
// caller's messages.
ReadResult readOnce(const char* content, const char* items) {
  std::istringstream in(content);
  RecordSource source = fileSource(in, "f", 1);
  ItemList list(items);
  return readRecord(source, list.items);
}

struct Case {
  const char* content;
  const char* items;
  const char* expected;
};

TEST(FreeRead, TakingValues) {
  const Case cases[] = {
      // separators: blanks, tabs, one comma with blanks around
      {"12,3.5   abc", "i r t10", "ok 12 3.5 [abc       ]"},
      {"\t1\t 2", "i i", "ok 1 2"},
      {"1 , 2", "i i", "ok 1 2"},
      {"   7   ", "i", "ok 7"},
      // null values
      {"12,,7", "i i i", "ok 12 -1 7"},
      {"1 , , 2", "i i i", "ok 1 -1 2"},
      {",5", "i i", "ok -1 5"},
      {"  ,  ,5", "i i i", "ok -1 -1 5"},
      {"1,\n,2", "i i i", "ok 1 -1 2"},
      {"1,\n\n  ,2", "i i i", "ok 1 -1 2"},
      {"1\n,2", "i i", "ok 1 2"},
      {"1,\n2", "i i", "ok 1 2"},
      {",,", "i i t2", "eof -1 -1 [##]"},
      {",abc", "t3 t3", "ok [###] [abc]"},
      // repeat counts
      {"3*0", "i i i", "ok 0 0 0"},
      {"2* 5", "i i i", "ok -1 -1 5"},
      {"2*,5", "i i i", "ok -1 -1 5"},
      {"3*", "i r t1", "ok -1 -1 [#]"},
      {"1 2*", "i i i", "ok 1 -1 -1"},
      {"2*7", "i r", "ok 7 7"},
      {"2*2.5", "r i", "ok 2.5 2"},
      {"2*abc", "t2 t4", "ok [ab] [abc ]"},
      {"2*'a b' 3", "t3 t3 i", "ok [a b] [a b] 3"},
      {"007*1", "i i", "ok 1 1"},
      {"2147483647*1", "i i", "ok 1 1"},
      {"2*3*4", "t3 t3", "ok [3*4] [3*4]"},
      {"x12*3", "t5", "ok [x12*3]"},
      {"12*", "t2 i", "ok [##] -1"},
      // slash
      {"4/9", "i i", "ok 4 -1"},
      {"4,/9", "i i", "ok 4 -1"},
      {"/", "i", "ok -1"},
      {"1\n/\n2", "i i", "ok 1 -1"},
      {"a/b", "t3 t3", "ok [a  ] [###]"},
      // quoted texts
      {"'O''Brien'", "t7", "ok [O'Brien]"},
      {"\"a b\"", "t3", "ok [a b]"},
      {"a b", "t3", "ok [a  ]"},
      {"\"it's\"", "t4", "ok [it's]"},
      {"'say \"hi\"'", "t8", "ok [say \"hi\"]"},
      {"\"say \"\"hi\"\"\"", "t8", "ok [say \"hi\"]"},
      {"'a,b/c d'", "t7", "ok [a,b/c d]"},
      {"'a\tb'", "t3", "ok [a\tb]"},
      {"''", "t2", "ok [  ]"},
      {"'ab\ncd'", "t4", "ok [abcd]"},
      {"'ab\n \ncd'", "t5", "ok [ab cd]"},
      {"'ab\n\ncd'", "t5", "ok [abcd ]"},
      {"'ab'\n'cd'", "t2 t2", "ok [ab] [cd]"},
      {"'abc", "t3", "eof [###]"},
      {"'abc'd", "t3", "ok [abc]"},
      {"'abc'd", "t3 t1", "syntax [abc] [#]"},
      {"'abc',d", "t3 t1", "ok [abc] [d]"},
      {"'abc'/d", "t3 t1", "ok [abc] [#]"},
      {"'12'", "i", "syntax -1"},
      {"2*'x'", "t1 i", "syntax [x] -1"},
      // unquoted texts
      {"ab'c", "t4", "ok [ab'c]"},
      {"ab\tcd", "t2 t2", "ok [ab] [cd]"},
      {"a,b", "t1 t1", "ok [a] [b]"},
      {"abcdef", "t3", "ok [abc]"},
      {"ab", "t4", "ok [ab  ]"},
      {"12", "t0", "ok []"},
      {"3.5", "t3 i", "eof [3.5] -1"},
      // values continued on later records; blank records are passed over
      {"1\n\n2", "i i", "ok 1 2"},
      {"1\n \t \n2", "i i", "ok 1 2"},
      {"1 2\n3 4", "i i i", "ok 1 2 3"},
      // integers written as reals, reals written as integers
      {"3.9", "i", "ok 3"},
      {"-3.9", "i", "ok -3"},
      {"1E2", "i", "ok 100"},
      {"1.5E2", "r", "ok 150"},
      {"5", "r", "ok 5"},
      {"1.5d0 -1.5Q1 2e-1", "r r r", "ok 1.5 -15 0.2"},
      // failures
      {"1.5.2", "i", "syntax -1"},
      {"12a", "r", "syntax -1"},
      {"1.5.2", "r", "syntax -1"},
      {"12a", "i", "syntax -1"},
      {"abc", "i", "syntax -1"},
      {"1+", "r", "syntax -1"},
      {"+", "i", "conversion -1"},
      {".", "r", "conversion -1"},
      {"1E+", "r", "conversion -1"},
      {"1e20", "i", "conversion -1"},
      {"2147483648", "i", "conversion -1"},
      {"-2147483648", "i", "ok -2147483648"},
      {"1e99", "r", "conversion -1"},
      {"1e-99", "r", "ok 0"},
      {"-1e-99", "r", "ok -0"},
      {"1 2 x 4", "i i i i", "syntax 1 2 -1 -1"},
      // a repeat count of zero is a malformed count; one too large for a
      // 32-bit count is a conversion error
      {"0*5", "i", "syntax -1"},
      {"0*", "i", "syntax -1"},
      {"99999999999*1", "i", "conversion -1"},
      // end of file
      {"", "i", "eof -1"},
      {"   \n\t\n\n", "i", "eof -1"},
      {"1 2", "i i i", "eof 1 2 -1"},
      // CR LF line ends: the carriage return belongs to the line end
      {"1\r\n2\r\n", "i i", "ok 1 2"},
      {"abc\r\n", "t4", "ok [abc ]"},
      {"7\r", "i", "ok 7"},
      {"2.5\r\n", "r", "ok 2.5"},
      {"1 2\r\n3", "i i i", "ok 1 2 3"},
      {"'ab\r\ncd'", "t4", "ok [abcd]"},
      {"\r\n\r\n5\r\n", "i", "ok 5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(readFile(c.content, c.items), c.expected) << '"' << c.content << "\" as " << c.items;
  }
}

TEST(FreeRead, NulBytesAreOrdinaryCharacters) {
  EXPECT_EQ(readFile(std::string("1\0 2", 4), "i i"), "syntax -1 -1");
  EXPECT_EQ(readFile(std::string("a\0b 2", 5), "t3 i"), std::string("ok [a\0b] 2", 10));
}

TEST(FreeRead, LongTextsAreFittedToTheirLength) {
  const std::string value(5000, 'x');
  EXPECT_EQ(readFile(value + "\n", "t3000"), "ok [" + std::string(3000, 'x') + "]");
  EXPECT_EQ(readFile("'" + value + "'", "t6000"), "ok [" + value + std::string(1000, ' ') + "]");
  const std::string blanks(1'000'000, ' ');
  EXPECT_EQ(readFile(blanks + "5" + blanks + "6", "i i"), "ok 5 6");
}

TEST(FreeRead, ReportTexts) {
  struct ReportCase {
    const char* content;
    const char* report;
  };
  const ReportCase cases[] = {
      {"", "end-of-file during read, unit 13, file survey.DAT"},
      {"1", "end-of-file during read, unit 13, file survey.DAT"},
      {"12a 3", "list-directed I/O syntax error, unit 13, file survey.DAT"},
      {"1e20 3", "input conversion error, unit 13, file survey.DAT"},
      {"1 2", ""},
  };
  for (const ReportCase& c : cases) {
    std::istringstream in(c.content);
    RecordSource source = fileSource(in, "survey.DAT", 13);
    int32_t a = 0;
    int32_t b = 0;
    const ReadItem items[] = {ReadItem::integer(a), ReadItem::integer(b)};
    EXPECT_EQ(readRecord(source, items).report, c.report) << c.content;
  }
  struct FieldCase {
    const char* field;
    ReadOutcome outcome;
    const char* report;
  };
  const FieldCase fields[] = {
      {"", ReadOutcome::endOfFile,
       "end-of-file during read, unit -5, file Internal List-Directed Read"},
      {"      ", ReadOutcome::endOfFile,
       "end-of-file during read, unit -5, file Internal List-Directed Read"},
      {"abc", ReadOutcome::error,
       "list-directed I/O syntax error, unit -5, file Internal List-Directed Read"},
      {"99999999999", ReadOutcome::error,
       "input conversion error, unit -5, file Internal List-Directed Read"},
  };
  for (const FieldCase& c : fields) {
    RecordSource source = fieldSource(c.field);
    int32_t a = 4;
    const ReadItem items[] = {ReadItem::integer(a)};
    const ReadResult r = readRecord(source, items);
    EXPECT_EQ(r.outcome, c.outcome) << c.field;
    EXPECT_EQ(r.report, c.report) << c.field;
    EXPECT_EQ(a, 4) << c.field;
  }
}

TEST(FreeRead, TextFieldIsTheOnlyRecord) {
  RecordSource source = fieldSource("300 [MST] 40");
  int32_t v = 0;
  const ReadItem one[] = {ReadItem::integer(v)};
  ReadResult r = readRecord(source, one);
  EXPECT_EQ(r.outcome, ReadOutcome::complete);
  EXPECT_EQ(v, 300);
  EXPECT_EQ(r.firstLine, 1);
  EXPECT_EQ(r.lastLine, 1);
  EXPECT_TRUE(r.leftover);
  // Every read of a field starts again at its beginning.
  v = 0;
  EXPECT_EQ(readRecord(source, one).outcome, ReadOutcome::complete);
  EXPECT_EQ(v, 300);

  RecordSource shortField = fieldSource("1");
  int32_t a = 0;
  int32_t b = 9;
  const ReadItem two[] = {ReadItem::integer(a), ReadItem::integer(b)};
  r = readRecord(shortField, two);
  EXPECT_EQ(r.outcome, ReadOutcome::endOfFile);
  EXPECT_EQ(r.satisfied, 1);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 9);

  std::string path;
  RecordSource quoted = fieldSource("'C:\\survey data\\2024'     ");
  const ReadItem text[] = {ReadItem::text(path, 80)};
  EXPECT_EQ(readRecord(quoted, text).outcome, ReadOutcome::complete);
  EXPECT_EQ(path, "C:\\survey data\\2024" + std::string(61, ' '));
  RecordSource open = fieldSource("'C:\\survey");
  EXPECT_EQ(readRecord(open, text).outcome, ReadOutcome::endOfFile);
}

TEST(FreeRead, ConsecutiveReadsTakeConsecutiveRecords) {
  std::istringstream in("1 2\n3 4 5\n6 7\n\n8\n");
  RecordSource source = fileSource(in, "survey.STA", 11);
  int32_t v[3] = {0, 0, 0};
  const ReadItem three[] = {ReadItem::integer(v[0]), ReadItem::integer(v[1]),
                            ReadItem::integer(v[2])};
  // A record with too few values takes the rest from the next record; the
  // next read then begins with the record after that one.
  ReadResult r = readRecord(source, three);
  EXPECT_EQ(r.outcome, ReadOutcome::complete);
  EXPECT_EQ(v[0] * 100 + v[1] * 10 + v[2], 123);
  EXPECT_EQ(r.firstLine, 1);
  EXPECT_EQ(r.lastLine, 2);
  EXPECT_TRUE(r.continued);
  EXPECT_TRUE(r.leftover);
  EXPECT_EQ(r.satisfied, 3);

  const ReadItem two[] = {ReadItem::integer(v[0]), ReadItem::integer(v[1])};
  r = readRecord(source, two);
  EXPECT_EQ(r.outcome, ReadOutcome::complete);
  EXPECT_EQ(v[0], 6);
  EXPECT_EQ(v[1], 7);
  EXPECT_EQ(r.firstLine, 3);
  EXPECT_EQ(r.lastLine, 3);
  EXPECT_FALSE(r.continued);
  EXPECT_FALSE(r.leftover);

  // The blank line 4 is passed over and counted.
  r = readRecord(source, two);
  EXPECT_EQ(r.outcome, ReadOutcome::endOfFile);
  EXPECT_EQ(v[0], 8);
  EXPECT_EQ(v[1], 7);
  EXPECT_EQ(r.satisfied, 1);
  EXPECT_EQ(r.firstLine, 5);
  EXPECT_EQ(r.lastLine, 5);
  EXPECT_FALSE(r.continued);
  EXPECT_EQ(r.report, "end-of-file during read, unit 11, file survey.STA");

  r = readRecord(source, two);
  EXPECT_EQ(r.outcome, ReadOutcome::endOfFile);
  EXPECT_EQ(r.satisfied, 0);
  EXPECT_EQ(r.firstLine, 0);
}

TEST(FreeRead, EmptyItemListSkipsOneRecord) {
  std::istringstream in("1 2\n3\n");
  RecordSource source = fileSource(in, "f", 1);
  EXPECT_EQ(readRecord(source, {}).outcome, ReadOutcome::complete);
  int32_t v = 0;
  const ReadItem one[] = {ReadItem::integer(v)};
  EXPECT_EQ(readRecord(source, one).outcome, ReadOutcome::complete);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(readRecord(source, {}).outcome, ReadOutcome::endOfFile);
}

struct Bookkeeping {
  const char* content;
  const char* items;
  ReadOutcome outcome;
  int satisfied;
  int64_t firstLine;
  int64_t lastLine;
  bool continued;
  bool leftover;
};

TEST(FreeRead, Bookkeeping) {
  using O = ReadOutcome;
  const Bookkeeping cases[] = {
      {"1", "i", O::complete, 1, 1, 1, false, false},
      {"1 2", "i", O::complete, 1, 1, 1, false, true},
      {"1 , ,\t,", "i", O::complete, 1, 1, 1, false, false},
      {"1,", "i", O::complete, 1, 1, 1, false, false},
      {"1 / 2", "i", O::complete, 1, 1, 1, false, false},
      {"1 /", "i i", O::complete, 1, 1, 1, false, false},
      {"4/9", "i i", O::complete, 1, 1, 1, false, false},
      {"2*0.5", "r", O::complete, 1, 1, 1, false, true},
      {"2*0.5", "r r", O::complete, 2, 1, 1, false, false},
      {"3*", "i", O::complete, 1, 1, 1, false, true},
      {"'ab'c", "t2", O::complete, 1, 1, 1, false, true},
      {"1,,3", "i i i", O::complete, 3, 1, 1, false, false},
      {"\n\n 7 8", "i i", O::complete, 2, 3, 3, false, false},
      {"1\n\n2", "i i", O::complete, 2, 1, 3, true, false},
      {"1\n2 3", "i i", O::complete, 2, 1, 2, true, true},
      {"1,\n,", "i i", O::complete, 2, 1, 2, true, false},
      {"'ab\ncd' x", "t4", O::complete, 1, 1, 2, true, true},
      {"1\n/", "i i", O::complete, 1, 1, 2, false, false},
      {"5 6", "i i i i", O::endOfFile, 2, 1, 1, false, false},
      {"5\n6\n\n", "i i i", O::endOfFile, 2, 1, 3, true, false},
      {"2*", "i i i", O::endOfFile, 2, 1, 1, false, false},
      {"", "i", O::endOfFile, 0, 0, 0, false, false},
      {"\n \n", "i", O::endOfFile, 0, 0, 2, false, false},
      {"1 2 x", "i i i", O::error, 2, 1, 1, false, false},
  };
  for (const Bookkeeping& c : cases) {
    const ReadResult r = readOnce(c.content, c.items);
    const std::string what = std::string("\"") + c.content + "\" as " + c.items;
    EXPECT_EQ(r.outcome, c.outcome) << what;
    EXPECT_EQ(r.satisfied, c.satisfied) << what;
    EXPECT_EQ(r.firstLine, c.firstLine) << what;
    EXPECT_EQ(r.lastLine, c.lastLine) << what;
    EXPECT_EQ(r.continued, c.continued) << what;
    EXPECT_EQ(r.leftover, c.leftover) << what;
  }
}

// What a read keeps for the messages about slips and failures.
struct SlipCase {
  const char* content;
  const char* items;
  bool leftover;
  const char* unread;
  std::size_t unreadColumn;
  uint64_t kept;
  std::size_t decimalComma;  // column of the comma (0: none)
  const char* badValue;
  std::size_t badColumn;
  ReadResult::Hint hint;
};

TEST(FreeRead, WhatTheMessagesNeed) {
  using H = ReadResult::Hint;
  const SlipCase cases[] = {
      {"1 2 x y", "i i", true, "x y", 5, 0, 0, "", 0, H::none},
      {"1 2 , x / y", "i i", true, "x", 7, 0, 0, "", 0, H::none},
      {"3*4", "i", true, "2*4", 3, 0, 0, "", 0, H::none},
      {"1,,3", "i i i", false, "", 0, 0b010, 0, "", 0, H::none},
      {"1 /", "i i i", false, "", 0, 0b110, 0, "", 0, H::none},
      {"2*", "i i", false, "", 0, 0b11, 0, "", 0, H::none},
      {"1 2 0,5", "i i r", true, "5", 7, 0, 6, "", 0, H::none},
      {"1 2 0,5 0,2", "i i r r", true, "0,2", 9, 0, 6, "", 0, H::none},
      {"1,2,0,5", "i i r r", false, "", 0, 0, 0, "", 0, H::none},
      {"1 2 0.5,3", "i i r r", false, "", 0, 0, 0, "", 0, H::none},
      {"1 2 3,5", "i i i i", false, "", 0, 0, 0, "", 0, H::none},  // integers: not a decimal
      {"1 x2", "i i", false, "", 0, 0, 0, "x2", 3, H::letter},
      {"1 '2'", "i i", false, "", 0, 0, 0, "'2'", 3, H::quoted},
      {"1 2,5q", "i r r", false, "", 0, 0, 4, "5q", 5, H::decimalComma},
      {"1 'a'b 3", "i t3 i", false, "", 0, 0, 0, "b", 6, H::junkAfterQuote},
      {"\n\xEF\xBB\xBF"
       "7",
       "i", false, "", 0, 0, 0,
       "\xEF\xBB\xBF"
       "7",
       1, H::byteOrderMark},
  };
  for (const SlipCase& c : cases) {
    const ReadResult r = readOnce(c.content, c.items);
    const std::string what = std::string("\"") + c.content + "\" as " + c.items;
    EXPECT_EQ(r.leftover, c.leftover) << what;
    EXPECT_EQ(r.unread, c.unread) << what;
    EXPECT_EQ(r.unreadColumn, c.unreadColumn) << what;
    EXPECT_EQ(r.keptItems, c.kept) << what;
    EXPECT_EQ(r.decimalCommaColumn, c.decimalComma) << what;
    EXPECT_EQ(r.badValue, c.badValue) << what;
    EXPECT_EQ(r.badColumn, c.badColumn) << what;
    EXPECT_EQ(r.hint, c.hint) << what;
  }
}

TEST(FreeRead, TextLeftAfterANameAndTheRestColumn) {
  const struct {
    const char* content;
    bool afterText, afterQuote;
    std::size_t restColumn;
  } cases[] = {
      {"1 'ab'c", true, true, 7},
      {"1 ab cd", true, false, 5},
      {"1 ab", false, false, 5},
      {"1 ab/cd", false, false, 5},
  };
  for (const auto& c : cases) {
    const ReadResult r = readOnce(c.content, "i t5");
    EXPECT_EQ(r.unreadAfterText, c.afterText) << c.content;
    EXPECT_EQ(r.unreadAfterQuote, c.afterQuote) << c.content;
    EXPECT_EQ(r.restColumn, c.restColumn) << c.content;
  }
}

TEST(FreeRead, AByteOrderMarkStartingTheFileIsPassedOver) {
  EXPECT_EQ(readFile("\xEF\xBB\xBF"
                     "12 3.5 abc",
                     "i r t3"),
            "ok 12 3.5 [abc]");
  EXPECT_EQ(readFile("\xEF\xBB\xBF"
                     "\n12",
                     "i"),
            "ok 12");
  // Not in a text field: the header reader passes over its own.
  RecordSource field = fieldSource(
      "\xEF\xBB\xBF"
      "12");
  ItemList list("i");
  EXPECT_EQ(readRecord(field, list.items).outcome, ReadOutcome::error);
}

// A file stream buffer fails a read(2) by throwing; FailingBuffer does so
// after its text.
TEST(FreeRead, AFailedStreamIsAnErrorNotTheEnd) {
  for (const char* good : {"", "1 2\n", "1 2\n3"}) {
    FailingBuffer buffer(good);
    std::istream in(&buffer);
    RecordSource source = fileSource(in, "s.DAT", 13);
    ItemList first("i i");
    if (std::string(good).size() >= 4) {
      ASSERT_EQ(readRecord(source, first.items).outcome, ReadOutcome::complete);
    }
    ItemList list("i i");
    const ReadResult r = readRecord(source, list.items);
    EXPECT_EQ(r.outcome, ReadOutcome::error) << good;
    EXPECT_TRUE(r.streamFailed) << good;
    EXPECT_EQ(r.report, "read error, unit 13, file s.DAT") << good;
    EXPECT_EQ(r.lastLine, std::string(good).empty() ? 1 : 2) << good;
  }
}

}  // namespace
}  // namespace eco
