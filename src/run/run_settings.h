#pragma once
// The settings of one run, taken from the header file.

#include <cstdint>
#include <string>

#include "text/trim.h"

namespace eco {

// A text of exactly n characters: t cut or blank padded.
std::string fixedText(const std::string& t, std::size_t n);

struct RunSettings {
  std::string title = std::string(80, ' ');
  std::string inputPath = fixedText("dummy", 80);   // "dummy": not given
  std::string outputPath = fixedText("dummy", 80);  // "dummy": not given
  std::string inputName = std::string(150, ' ');
  std::string outputName = std::string(150, ' ');
  bool biomassPresent = true;
  bool presenceAssessment = false;  // accepted and validated, no further effect
  int32_t maxet = 20;
  int32_t maxspec = 500;
  int32_t maxstat = 1250;
  int32_t emptySpeciesCode = 999;
  int32_t mode = 1;  // 1 summary tables, 2 both, 3 report only
  int32_t listLength = 10;
};

// What [ARM] asks for: the summary tables (1, 2), the report (2, 3).
inline bool writesTables(const RunSettings& s) { return s.mode == 1 || s.mode == 2; }
inline bool writesReport(const RunSettings& s) { return s.mode == 2 || s.mode == 3; }

}  // namespace eco
