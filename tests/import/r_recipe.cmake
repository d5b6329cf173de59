# Runs the R recipe of the user guide (the lines between the r-recipe
# marks) on the dune example's community and site tables read into R,
# imports the tables it writes and runs the survey: the results must be
# the example's expected results, byte for byte.
#   PROGRAM   the ecoassess executable
#   RSCRIPT   the Rscript executable
#   SOURCE    the project's source folder
#   WORK_DIR  a scratch directory
cmake_minimum_required(VERSION 3.25)
file(READ "${SOURCE}/docs/guide.md" guide)
string(REGEX MATCH "<!-- r-recipe -->\n(.*)<!-- /r-recipe -->" found "${guide}")
if(NOT found)
  message(FATAL_ERROR "docs/guide.md has no R recipe between <!-- r-recipe --> marks")
endif()
string(REGEX REPLACE "(^|\n)    " "\\1" recipe "${CMAKE_MATCH_1}")

set(dune "${SOURCE}/examples/dune/dune_mgmt_bio")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(WRITE "${WORK_DIR}/recipe.R"
     "read <- function(f) read.csv2(f, check.names = FALSE, fileEncoding = \"UTF-8-BOM\")\n"
     "comm <- read(\"${dune}_samples.csv\")\n"
     "rownames(comm) <- comm$Site; comm$Site <- NULL; comm[is.na(comm)] <- 0\n"
     "mass <- read(\"${dune}_biomass.csv\")\n"
     "rownames(mass) <- mass$Site; mass$Site <- NULL; mass[is.na(mass)] <- 0\n"
     "st <- read(\"${dune}_stations.csv\")\n"
     "sites <- data.frame(ecotope = st$Habitat, group = st$Group, surface = st$Area,\n"
     "                    row.names = st$Site)\n"
     "${recipe}")
execute_process(COMMAND "${RSCRIPT}" recipe.R WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the R recipe failed:\n${err}")
endif()
execute_process(COMMAND "${PROGRAM}" import --stations stations.csv --samples samples.csv
                        --biomass biomass.csv --ecotopes "${dune}_ecotopes.csv"
                        --name dune_mgmt_bio --dir survey --max-stations 30 --list-length 3
                WORKING_DIRECTORY "${WORK_DIR}" RESULT_VARIABLE status ERROR_VARIABLE err
                OUTPUT_QUIET)
if(NOT status EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "the import of the recipe's tables failed:\n${err}")
endif()
execute_process(COMMAND "${PROGRAM}" dune_mgmt_bio.hdr WORKING_DIRECTORY "${WORK_DIR}/survey"
                OUTPUT_FILE "${WORK_DIR}/survey/console.txt" RESULT_VARIABLE status
                ERROR_QUIET)
file(GLOB wanted RELATIVE "${SOURCE}/examples/dune/expected" "${SOURCE}/examples/dune/expected/*")
foreach(f IN LISTS wanted)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK_DIR}/survey/${f}"
                          "${SOURCE}/examples/dune/expected/${f}" RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    message(FATAL_ERROR "${f} of the recipe's survey differs from the example's (see ${WORK_DIR})")
  endif()
endforeach()
