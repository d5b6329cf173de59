#include "records/line_read.h"

namespace eco {

namespace {

LineRead limited(std::string& line) {
  if (line.size() <= kMaxLineLength) return LineRead::line;
  line.resize(kMaxLineLength);
  return LineRead::tooLong;
}

}  // namespace

LineRead readLine(std::istream& in, std::string& line) {
  line.clear();
  // A stream that failed before is never taken for one at its end.
  if (!in.good()) return in.bad() ? LineRead::readError : LineRead::end;
  // The line is taken in pieces by istream::getline, which scans the
  // stream's buffer for the line feed at once and turns an exception of the
  // file stream buffer (its report of a failed read(2)) into badbit.
  constexpr std::streamsize kPiece = 8192;
  char piece[kPiece];
  for (;;) {
    in.getline(piece, kPiece);
    const std::streamsize n = in.gcount();
    if (in.bad()) return LineRead::readError;
    if (!in.fail()) {
      // The line feed was taken (and counted), or the file ended the line.
      line.append(piece, static_cast<std::size_t>(in.eof() ? n : n - 1));
      return limited(line);
    }
    if (in.eof()) {
      // Nothing more: the end, or the end of a line that filled whole pieces.
      if (line.empty()) return LineRead::end;
      in.clear(std::ios::eofbit);
      return limited(line);
    }
    // The piece is full and the line goes on.
    line.append(piece, static_cast<std::size_t>(n));
    if (limited(line) == LineRead::tooLong) return LineRead::tooLong;
    in.clear();
  }
}

bool dropByteOrderMark(std::string& line) {
  if (line.compare(0, 3, kByteOrderMark) != 0) return false;
  line.erase(0, 3);
  return true;
}

}  // namespace eco
