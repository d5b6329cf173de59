#include "records/diagnostics.h"

#include <iostream>

namespace eco {
namespace {

void emit(std::string_view line) {
  Diagnostics& d = diagnostics();
  if (d.out == nullptr) return;
  if (d.beforeWrite) d.beforeWrite();
  *d.out << terminalSafe(line) << '\n';
  d.out->flush();
  if (d.afterWrite) d.afterWrite();
}

// True while the (subject, kind) pair is within its limit.
bool counted(std::string_view subject, std::string_view kind) {
  Diagnostics& d = diagnostics();
  int64_t& n = d.counts[{std::string(subject), std::string(kind)}];
  ++n;
  return n <= kWarningLimit;
}

}  // namespace

std::string terminalSafe(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  auto escape = [&](std::size_t from, std::size_t n) {
    for (std::size_t k = from; k < from + n; ++k) {
      const unsigned char b = static_cast<unsigned char>(text[k]);
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if (c < 0x20 || c == 0x7F) {
        escape(i, 1);
      } else {
        out += static_cast<char>(c);
      }
      ++i;
      continue;
    }
    // The length of a well-formed UTF-8 sequence starting here (0: none).
    std::size_t n = 0;
    uint32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 2, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 3, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 4, cp = c & 0x07;
    }
    for (std::size_t k = 1; k < n; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        n = 0;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    const bool wellFormed = n != 0 && !(n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) &&
                            !(n == 4 && (cp < 0x10000 || cp > 0x10FFFF));
    if (!wellFormed) {
      escape(i, 1);
      ++i;
      continue;
    }
    // The C1 controls (U+0080 to U+009F) steer some terminals as well.
    if (cp < 0xA0) {
      escape(i, n);
    } else {
      out.append(text.substr(i, n));
    }
    i += n;
  }
  return out;
}

Diagnostics& diagnostics() {
  static Diagnostics d{&std::cerr, {}, {}, {}, 0};
  return d;
}

void resetDiagnostics(std::ostream* out) { diagnostics() = Diagnostics{out, {}, {}, {}, 0}; }

void warnAt(std::string_view file, int64_t line, std::string_view kind, std::string_view text) {
  if (!counted(file, kind)) return;
  std::string s = "warning: ";
  s += file;
  if (line > 0) s += ", line " + std::to_string(line);
  s += ": ";
  s += text;
  ++diagnostics().warningsWritten;
  emit(s);
}

void countWarnings(std::string_view file, std::string_view kind, int64_t n) {
  if (n <= 0) return;
  diagnostics().counts[{std::string(file), std::string(kind)}] += n;
}

void warnAbout(std::string_view subject, std::string_view kind, std::string_view text) {
  if (!counted(subject, kind)) return;
  ++diagnostics().warningsWritten;
  emit("warning: " + std::string(text));
}

void tellUser(std::string_view line) { emit(line); }

std::string failureLine(std::string_view file, int64_t line, std::size_t column,
                        std::string_view text) {
  std::string s = "error: ";
  if (!file.empty()) {
    s += file;
    if (line > 0) s += ", line " + std::to_string(line);
    if (line > 0 && column > 0) s += ", column " + std::to_string(column);
    s += ": ";
  }
  s += text;
  return s;
}

void failAt(std::string_view file, int64_t line, std::size_t column, std::string_view text) {
  emit(failureLine(file, line, column, text));
}

std::string shownValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s = "'";
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value.compare(i, 3, "\xEF\xBB\xBF") == 0) {
      s += "<byte order mark>";
      i += 2;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (c < 0x20 || c == 0x7F) {
      s += "\\x";
      s += kHex[c >> 4];
      s += kHex[c & 15];
    } else {
      s += static_cast<char>(c);
    }
  }
  s += "'";
  return s;
}

void finishWarnings() {
  Diagnostics& d = diagnostics();
  for (auto& [key, n] : d.counts) {
    if (n <= kWarningLimit) continue;
    ++d.warningsWritten;
    emit("warning: " + key.first + ": " + std::to_string(n - kWarningLimit) + " more " +
         key.second + " warnings not shown");
    n = kWarningLimit;  // reported once
  }
}

}  // namespace eco
