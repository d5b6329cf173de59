#pragma once
// The HTML report of --html: one self-contained page (inline CSS and SVG, no
// script, nothing fetched, no date, so the same run writes the same bytes).
// A header with the title and settings; per ecotope the percentile bands of
// each measure against the surface (when the summary pass ran) with the
// observed value of the assessment sample at its surface (when the report
// pass ran too); per reported ecotope one row per measure with the reference
// distribution as a box, the observed value, the grade and the chance
// probabilities, then the species lists. The markup is also well-formed XML.

#include <cstdint>
#include <string>
#include <string_view>

#include "results/records.h"

namespace eco {

// What the page header states about the run.
struct HtmlHeader {
  std::string title;       // [TIT] as stored
  std::string inputName;   // [INP]
  std::string outputName;  // [OUT]
  int32_t mode = 1;
  bool biomass = false;
  int32_t ecotopes = 0, species = 0;
  int32_t maxstat = 0, listLength = 0;
  std::string version;  // of the program
};

std::string htmlReport(const HtmlHeader& header, const RunResults& results);

// A text from the input for an HTML text or attribute: trailing blanks
// removed, UTF-8 (see exportName), & < > " ' escaped and control
// characters, which XML does not allow, replaced by U+FFFD.
std::string htmlText(std::string_view stored);

// A value for a person: integers whole, others to about four significant
// digits ("0.8476", "26852", "1.23e-05"); "missing" for a NaN.
std::string readableNumber(float value);

}  // namespace eco
