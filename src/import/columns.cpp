#include "import/columns.h"

namespace eco {

std::string columnKey(std::string_view name) {
  std::string key;
  for (char c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '.' || c == '-' || c == ' ') c = '_';
    key += c;
  }
  return key;
}

int findColumn(const CsvTable& table, std::initializer_list<std::string_view> names) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    const std::string key = columnKey(table.columns[i]);
    for (std::string_view n : names) {
      if (key == n) return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace eco
