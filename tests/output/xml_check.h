#pragma once
// A small well-formedness check of XML text for the tests: every element
// closed in order, attributes quoted and unique, only the five predefined
// entities and character references, no '<' or stray '&' in text, one root
// element. Enough to tell that a page parses as XHTML as well as HTML.

#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace eco::xmltest {

struct Element {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
};

struct Checked {
  bool ok = true;
  std::string error;
  std::vector<Element> elements;  // every start tag, in document order
};

inline Checked checkXml(const std::string& s) {
  Checked c;
  std::vector<std::string> open;
  int roots = 0;
  std::size_t i = 0;
  auto fail = [&](const std::string& why) {
    c.ok = false;
    c.error = why + " at byte " + std::to_string(i) + ": " + s.substr(i, 40);
    return c;
  };
  auto nameChar = [](char ch) {
    return std::isalnum(static_cast<unsigned char>(ch)) || ch == '-' || ch == '_' || ch == ':' ||
           ch == '.';
  };
  auto entityOk = [&](std::size_t at) {
    const std::size_t end = s.find(';', at);
    if (end == std::string::npos || end - at > 10) return false;
    const std::string e = s.substr(at + 1, end - at - 1);
    static const std::set<std::string> named = {"amp", "lt", "gt", "quot", "apos"};
    if (named.count(e)) return true;
    if (e.size() >= 2 && e[0] == '#') {
      const bool hex = e[1] == 'x';
      const std::string digits = e.substr(hex ? 2 : 1);
      if (digits.empty()) return false;
      for (char ch : digits) {
        if (!(hex ? std::isxdigit(static_cast<unsigned char>(ch))
                  : std::isdigit(static_cast<unsigned char>(ch)))) {
          return false;
        }
      }
      return true;
    }
    return false;
  };
  auto skipSpace = [&] {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  };
  while (i < s.size()) {
    if (s[i] == '&') {
      if (!entityOk(i)) return fail("bad entity");
      ++i;
      continue;
    }
    if (s[i] == '>') return fail("'>' outside a tag");  // allowed in XML, but never written
    if (s[i] != '<') {
      if (open.empty() && !std::isspace(static_cast<unsigned char>(s[i]))) {
        return fail("text outside the root element");
      }
      ++i;
      continue;
    }
    if (s.compare(i, 9, "<!DOCTYPE") == 0) {
      if (roots > 0 || !open.empty()) return fail("late doctype");
      const std::size_t end = s.find('>', i);
      if (end == std::string::npos) return fail("unterminated doctype");
      i = end + 1;
      continue;
    }
    if (s.compare(i, 4, "<!--") == 0) {
      const std::size_t end = s.find("-->", i);
      if (end == std::string::npos) return fail("unterminated comment");
      i = end + 3;
      continue;
    }
    if (s.compare(i, 2, "</") == 0) {
      i += 2;
      const std::size_t start = i;
      while (i < s.size() && nameChar(s[i])) ++i;
      const std::string name = s.substr(start, i - start);
      skipSpace();
      if (i >= s.size() || s[i] != '>') return fail("bad end tag");
      if (open.empty() || open.back() != name) return fail("end tag </" + name + "> out of order");
      open.pop_back();
      ++i;
      continue;
    }
    ++i;
    const std::size_t start = i;
    while (i < s.size() && nameChar(s[i])) ++i;
    Element el;
    el.name = s.substr(start, i - start);
    if (el.name.empty()) return fail("'<' without a tag name");
    std::set<std::string> seen;
    for (;;) {
      skipSpace();
      if (i >= s.size()) return fail("unterminated tag");
      if (s[i] == '>' || s.compare(i, 2, "/>") == 0) break;
      const std::size_t a = i;
      while (i < s.size() && nameChar(s[i])) ++i;
      const std::string attr = s.substr(a, i - a);
      if (attr.empty()) return fail("bad attribute");
      if (!seen.insert(attr).second) return fail("repeated attribute " + attr);
      if (i >= s.size() || s[i] != '=') return fail("attribute without value");
      ++i;
      if (i >= s.size() || (s[i] != '"' && s[i] != '\'')) return fail("unquoted attribute");
      const char q = s[i++];
      const std::size_t v = i;
      while (i < s.size() && s[i] != q) {
        if (s[i] == '<') return fail("'<' in an attribute");
        if (s[i] == '&' && !entityOk(i)) return fail("bad entity in an attribute");
        ++i;
      }
      if (i >= s.size()) return fail("unterminated attribute");
      el.attributes.emplace_back(attr, s.substr(v, i - v));
      ++i;
    }
    if (open.empty() && ++roots > 1) return fail("second root element");
    const bool empty = s[i] == '/';
    i += empty ? 2 : 1;
    c.elements.push_back(el);
    if (!empty) open.push_back(el.name);
  }
  if (!open.empty()) {
    i = s.size();
    return fail("unclosed element <" + open.back() + ">");
  }
  if (roots != 1) return fail("no root element");
  return c;
}

// The value of an attribute, or empty.
inline std::string attribute(const Element& e, const std::string& name) {
  for (const auto& [n, v] : e.attributes) {
    if (n == name) return v;
  }
  return {};
}

}  // namespace eco::xmltest
