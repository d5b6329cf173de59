#include "import/survey_write.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "import/names.h"
#include "text/number_text.h"

namespace eco {

std::string headerLine(const std::string& keyword, const std::string& value) {
  if (keyword.size() + 1 + value.size() <= 80) return keyword + " " + value + "\n";
  return keyword + value + "\n";
}

SurveyText surveyText(const ImportedSurvey& survey, const HeaderChoices& choices) {
  SurveyText t;
  for (const auto& s : survey.species) {
    t.species += std::to_string(s.code) + " " + quotedItem(s.name) + "\n";
  }
  for (const auto& e : survey.ecotopes) {
    t.ecotopes += std::to_string(e.code) + " " + quotedItem(e.name) + "\n";
  }
  std::map<std::pair<std::size_t, bool>, int> groupSize;
  int largest = 0;
  for (const auto& s : survey.stations) {
    t.stations += std::to_string(survey.ecotopes[s.ecotope].code) + " " + std::to_string(s.code) +
                  (s.reference ? " REF " : " ASS ") + shortestText(s.surface) + "\n";
    largest = std::max(largest, ++groupSize[{s.ecotope, s.reference}]);
  }
  std::vector<bool> hasRecord(survey.stations.size(), false);
  auto prefix = [&](std::size_t j) {
    const auto& s = survey.stations[j];
    return std::to_string(survey.ecotopes[s.ecotope].code) + " " + std::to_string(s.code) + " ";
  };
  for (const auto& r : survey.records) {
    hasRecord[r.station] = true;
    t.data += prefix(r.station) + std::to_string(survey.species[r.species].code) + " " +
              shortestText(r.density) +
              (survey.biomass ? " " + shortestText(r.biomass) : std::string()) + "\n";
  }
  // A station sampled without fauna says so, else the program would ask.
  for (std::size_t j = 0; j < survey.stations.size(); ++j) {
    if (hasRecord[j]) continue;
    t.data +=
        prefix(j) + std::to_string(survey.emptySpeciesCode) + (survey.biomass ? " 0 0\n" : " 0\n");
  }
  auto atLeastOne = [](std::size_t n) { return std::to_string(std::max<std::size_t>(n, 1)); };
  std::string& h = t.header;
  h += "# Written by ecoassess import. Run it from this folder: ecoassess " + choices.name +
       ".hdr\n";
  h += "# [MST] fixes how many random numbers each pseudo-sample takes: results are\n";
  h += "# reproduced only with the same [MST].\n";
  h += headerLine("[TIT]", choices.title);
  h += "[PAI] '.'\n[PAO] '.'\n";
  h += headerLine("[INP]", quotedItem(choices.name));
  h += headerLine("[OUT]", quotedItem(choices.name));
  h += std::string("[BIO] ") + (survey.biomass ? "y" : "n") + "\n";
  h += "[MET] " + atLeastOne(survey.ecotopes.size()) + "\n";
  h += "[MSP] " + atLeastOne(survey.species.size()) + "\n";
  h += "[MST] " +
       (choices.maxStations > 0 ? std::to_string(choices.maxStations)
                                : atLeastOne(static_cast<std::size_t>(largest))) +
       "\n";
  h += "[EMS] " + std::to_string(survey.emptySpeciesCode) + "\n";
  h += "[ARM] " + std::to_string(choices.mode) + "\n";
  if (choices.listLength >= 0) h += "[LLN] " + std::to_string(choices.listLength) + "\n";
  h += "[EOF]\n";
  return t;
}

}  // namespace eco
