#pragma once
// Opening and reading the four input files of a run: species (.SPE),
// station (.STA), data (.DAT) and ecotope (.ETP) files.

#include <fstream>
#include <istream>
#include <string>

#include "input/tables.h"

namespace eco {

// Why reading stopped: one of the program's own messages, or (inputLayer)
// the input layer's report of a value it could not read, line included.
struct InputStatus {
  bool inputLayer = false;
  std::string message;
  // The located detail for standard error: file, line, the offending code
  // or value, and what to do (see records/diagnostics.h).
  std::string detail;
};

// Unit numbers of the input files in the input layer's reports.
inline constexpr int kSpeciesUnit = 11;
inline constexpr int kStationUnit = 12;
inline constexpr int kDataUnit = 13;
inline constexpr int kEcotopeUnit = 14;

struct InputFiles {
  std::string baseName;
  std::ifstream species, station, data, ecotope;
};

// Opens baseName + ".SPE", ".STA", ".DAT", ".ETP" in this order, in the
// current directory; false with the failing file's message.
bool openInputFiles(const std::string& baseName, InputFiles& files, std::string& message);

struct ReadOptions {
  int32_t maxet = 0, maxspec = 0, maxstat = 0;
  bool biomassPresent = true;
  int32_t emptySpeciesCode = 999;
};

bool readSpeciesFile(std::istream& in, const std::string& fileName, SpeciesTable& species,
                     InputStatus& status);
bool readEcotopeFile(std::istream& in, const std::string& fileName, EcotopeTable& ecotopes,
                     StationTable& stations, InputStatus& status);
// Also computes the surface statistics of every group.
bool readStationFile(std::istream& in, const std::string& fileName, EcotopeTable& ecotopes,
                     StationTable& stations, InputStatus& status);
// Sizes the sample matrices from the tables read so far and fills them.
bool readDataFile(std::istream& in, const std::string& fileName, const ReadOptions& options,
                  SurveyTables& tables, InputStatus& status);

// All four files, opened and read in the run's order, each closed at its end.
bool readSurvey(const std::string& baseName, const ReadOptions& options, SurveyTables& tables,
                InputStatus& status);

// Mean and standard deviation of every group's surfaces.
void computeSurfaceStatistics(StationTable& stations);

}  // namespace eco
