#pragma once
// `ecoassess import`: a complete survey (header file and the four input
// files) from the tables a spreadsheet or R exports.
//
//   ecoassess import --stations STATIONS.csv --samples SAMPLES.csv
//                    [--biomass BIOMASS.csv] [--species SPECIES.csv]
//                    [--ecotopes ECOTOPES.csv] [--counts] [--name NAME]
//                    [--dir DIR] [--title TEXT] [--mode N]
//                    [--max-stations N] [--list-length N] [--force]
//
// Every problem of the tables is told on standard error, located by file,
// line and column; then nothing is written and the status is 1. Survey
// files that exist already are replaced only with --force. A usage error
// has status 2. On success standard output names the files written and the
// command that runs the survey.

#include <string>
#include <vector>

namespace eco {

// `args` are the arguments after "import".
int runImport(const std::vector<std::string>& args);

std::string importUsage();

}  // namespace eco
