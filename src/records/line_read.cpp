#include "records/line_read.h"

#include <exception>
#include <streambuf>

namespace eco {

LineRead readLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr || !in.good()) {
    // A stream already failed is never taken for one at its end.
    if (in.bad()) return LineRead::readError;
    return LineRead::end;
  }
  using Traits = std::char_traits<char>;
  bool any = false;
  try {
    for (;;) {
      const Traits::int_type c = buffer->sbumpc();
      if (Traits::eq_int_type(c, Traits::eof())) {
        in.setstate(std::ios::eofbit);
        return any ? LineRead::line : LineRead::end;
      }
      any = true;
      if (c == '\n') return LineRead::line;
      if (line.size() >= kMaxLineLength) return LineRead::tooLong;
      line.push_back(Traits::to_char_type(c));
    }
  } catch (const std::exception&) {
    // The file stream buffer reports a failed read(2) by throwing.
    in.setstate(std::ios::badbit);
    return LineRead::readError;
  }
}

bool dropByteOrderMark(std::string& line) {
  if (line.compare(0, 3, kByteOrderMark) != 0) return false;
  line.erase(0, 3);
  return true;
}

}  // namespace eco
