#pragma once
// Taking one line of a text file, telling its end from a failed read.
//
// A stream that fails (an input/output error of a disk or a network share)
// looks like an end of file to a plain line read: the rest of the file
// would silently be lost. And a file without line ends (a device, a binary
// file) would be read into memory as one endless line.

#include <cstddef>
#include <istream>
#include <string>

namespace eco {

// Longer lines end a read: no survey or header line comes near this.
inline constexpr std::size_t kMaxLineLength = std::size_t{16} << 20;  // 16 MiB

enum class LineRead {
  line,       // a line was taken (the last one may lack its line feed)
  end,        // the file has no more lines
  readError,  // the stream failed
  tooLong,    // the line holds more than kMaxLineLength characters
};

// The next line of `in` into `line`, without its line feed (a carriage
// return before it stays). The stream's own state is not relied upon: a
// failing stream buffer may report its error by an exception.
LineRead readLine(std::istream& in, std::string& line);

// The three bytes of the UTF-8 byte order mark that spreadsheet exports
// write at the start of a file.
inline constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";
// Removes a byte order mark from the start of `line`; true if there was one.
bool dropByteOrderMark(std::string& line);

}  // namespace eco
