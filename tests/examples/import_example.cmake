# Imports one example's tables (examples/NAME/<INP>_*.csv) with the
# example's [MST], [ARM] and [LLN], runs the survey written, and compares
# standard output and every output file with examples/NAME/expected/ byte
# for byte. The survey written must read without a warning about any of
# its files, so it runs under --strict.
#   PROGRAM      the ecoassess executable
#   EXAMPLE_DIR  examples/NAME
#   WORK_DIR     a scratch directory
cmake_minimum_required(VERSION 3.25)
get_filename_component(name "${EXAMPLE_DIR}" NAME)
file(READ "${EXAMPLE_DIR}/${name}.hdr" header)
foreach(key INP MST ARM LLN)
  string(REGEX MATCH "\\[${key}\\] +([^ \n#]+)" found "${header}")
  set(${key} "${CMAKE_MATCH_1}")
endforeach()
set(base "${EXAMPLE_DIR}/${INP}")
set(args import --stations "${base}_stations.csv" --samples "${base}_samples.csv"
         --name "${INP}" --dir survey --max-stations "${MST}" --mode "${ARM}")
if(NOT LLN STREQUAL "")
  list(APPEND args --list-length "${LLN}")
endif()
# The optional tables, each with the name its file ends in (the species
# table as NAME_taxa.csv).
foreach(table biomass:biomass species:taxa ecotopes:ecotopes)
  string(REPLACE ":" ";" parts "${table}")
  list(GET parts 0 option)
  list(GET parts 1 suffix)
  if(EXISTS "${base}_${suffix}.csv")
    list(APPEND args --${option} "${base}_${suffix}.csv")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND "${PROGRAM}" ${args} WORKING_DIRECTORY "${WORK_DIR}"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "ecoassess ${args} ended with status ${status}:\n${out}${err}")
endif()
set(run "${WORK_DIR}/survey")
# --strict: any warning about the survey's files would end the run.
execute_process(COMMAND "${PROGRAM}" --strict "${INP}.hdr" WORKING_DIRECTORY "${run}"
                OUTPUT_FILE "${WORK_DIR}/console.txt" ERROR_VARIABLE err
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the imported survey ended with status ${status}:\n${err}")
endif()
string(REGEX MATCH "warning: ${INP}\\.(hdr|SPE|ETP|STA|DAT)[^\n]*" warned "${err}")
if(warned)
  message(FATAL_ERROR "the imported survey reads with a warning:\n${warned}")
endif()

set(failed "")
file(GLOB wanted RELATIVE "${EXAMPLE_DIR}/expected" "${EXAMPLE_DIR}/expected/*")
foreach(f IN LISTS wanted)
  set(actual "${run}/${f}")
  if(f STREQUAL "console.txt")
    set(actual "${WORK_DIR}/console.txt")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${actual}"
                          "${EXAMPLE_DIR}/expected/${f}" RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    list(APPEND failed "${f}")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "the imported survey's output differs from examples/${name}/expected: "
                      "${failed} (see ${WORK_DIR})")
endif()
