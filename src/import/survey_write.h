#pragma once
// The text of the five survey files: the header file and the species,
// ecotope, station and data files, as the program reads them without a
// single warning. Every value is written in the fewest digits that read
// back as the same 32-bit real.

#include <string>

#include "import/survey.h"

namespace eco {

struct HeaderChoices {
  std::string name;   // base name of the input and output files
  std::string title;  // at most 75 bytes, no '['
  int mode = 2;
  int maxStations = 0;  // 0: the largest group of the data
  int listLength = -1;  // -1: not written (the program's default)
};

struct SurveyText {
  std::string header, species, ecotopes, stations, data;
};

SurveyText surveyText(const ImportedSurvey& survey, const HeaderChoices& choices);

// One header line "[KEY] value", without the blank when the line would
// otherwise pass column 80.
std::string headerLine(const std::string& keyword, const std::string& value);

}  // namespace eco
