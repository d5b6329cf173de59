// Taking lines: the end of a file, a failed read and an overlong line are
// three different outcomes.
#include "records/line_read.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "records/failing_buffer.h"

namespace eco {
namespace {

std::string word(LineRead r) {
  switch (r) {
    case LineRead::line:
      return "line";
    case LineRead::end:
      return "end";
    case LineRead::readError:
      return "error";
    case LineRead::tooLong:
      return "long";
  }
  return "?";
}

// Every outcome of reading `content` to its end, as "line[text] ... end".
std::string allLines(const std::string& content) {
  std::istringstream in(content);
  std::string out, line;
  for (int i = 0; i < 10; ++i) {
    const LineRead r = readLine(in, line);
    out += word(r);
    if (r != LineRead::line) return out;
    out += "[" + line + "] ";
  }
  return out;
}

TEST(LineRead, LinesAndTheEnd) {
  const struct {
    std::string content, expected;
  } cases[] = {
      {"", "end"},
      {"a", "line[a] end"},
      {"a\n", "line[a] end"},
      {"a\nb", "line[a] line[b] end"},
      {"\n\n", "line[] line[] end"},
      {"a\r\nb\r\n", "line[a\r] line[b\r] end"},  // the carriage return is the caller's
      {std::string("x\0y\n", 4), std::string("line[x\0y] end", 13)},
  };
  for (const auto& c : cases) EXPECT_EQ(allLines(c.content), c.expected) << c.content;
}

// A file stream buffer fails a read(2) by throwing; FailingBuffer does so
// after its text.
TEST(LineRead, AFailedReadIsNotTheEnd) {
  FailingBuffer buffer("one\ntw");
  std::istream in(&buffer);
  std::string line;
  EXPECT_EQ(readLine(in, line), LineRead::line);
  EXPECT_EQ(line, "one");
  EXPECT_EQ(readLine(in, line), LineRead::readError);
  EXPECT_TRUE(in.bad());
  // And it stays an error, never an end.
  EXPECT_EQ(readLine(in, line), LineRead::readError);
}

// An endless line of one character (a device like /dev/zero).
class EndlessBuffer : public std::streambuf {
 public:
  EndlessBuffer() : block_(4096, '0') {}

 protected:
  int_type underflow() override {
    setg(block_.data(), block_.data(), block_.data() + block_.size());
    return traits_type::to_int_type(block_[0]);
  }

 private:
  std::string block_;
};

TEST(LineRead, AnOverlongLineEndsTheReading) {
  EndlessBuffer buffer;
  std::istream in(&buffer);
  std::string line;
  EXPECT_EQ(readLine(in, line), LineRead::tooLong);
  EXPECT_EQ(line.size(), kMaxLineLength);

  // A line of exactly the limit is still a line.
  std::string exact(kMaxLineLength, 'x');
  exact.append("\nnext\n");
  std::istringstream limit(exact);
  EXPECT_EQ(readLine(limit, line), LineRead::line);
  EXPECT_EQ(line.size(), kMaxLineLength);
  EXPECT_EQ(readLine(limit, line), LineRead::line);
  EXPECT_EQ(line, "next");
}

TEST(LineRead, ByteOrderMark) {
  const struct {
    std::string in, out;
    bool dropped;
  } cases[] = {
      {"\xEF\xBB\xBF"
       "10 x",
       "10 x", true},
      {"\xEF\xBB\xBF", "", true},
      {"\xEF\xBB"
       "10",
       "\xEF\xBB"
       "10",
       false},
      {"10 \xEF\xBB\xBF", "10 \xEF\xBB\xBF", false},
      {"", "", false},
  };
  for (const auto& c : cases) {
    std::string line = c.in;
    EXPECT_EQ(dropByteOrderMark(line), c.dropped) << c.in;
    EXPECT_EQ(line, c.out);
  }
}

}  // namespace
}  // namespace eco
