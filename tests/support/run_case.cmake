# Runs the program on one whole-run case and compares it byte for byte with
# the stored expectation. Two layouts:
#   a case folder (tests/golden/<case>, tests/slips/<case>): input/ holds
#     case.hdr and its input files, run from a copy as `PROGRAM [options]
#     case.hdr` (options from args.txt, one a line, when present);
#   an example (examples/NAME): the folder holds NAME.hdr and its inputs,
#     run from a copy of the folder as a user would, `PROGRAM NAME.hdr`.
# expected/ holds console.txt (standard output) and every output file, and
# what else is to be checked: warnings.txt (standard error), status.txt
# (the exit status; without it the run must succeed) and files.txt (the
# files the run wrote; without it, exactly the output files of expected/).
# A case with a file same_outputs_as keeps only its warnings.txt: its
# outputs must equal those of the named case of the same folder.
#   PROGRAM   the ecoassess executable
#   CASE_DIR  the case folder or the example folder
#   WORK_DIR  a scratch directory
#   UPDATE    ON (or TRUE): rewrite expected/ from this run; "outputs": all
#             but warnings.txt; "warnings": warnings.txt only; else compare
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(options "")
if(EXISTS "${CASE_DIR}/input")
  set(example FALSE)
  set(run "${WORK_DIR}/run")
  set(header case.hdr)
  file(COPY "${CASE_DIR}/input/" DESTINATION "${run}")
  if(EXISTS "${CASE_DIR}/args.txt")
    file(STRINGS "${CASE_DIR}/args.txt" options)
  endif()
else()
  set(example TRUE)
  get_filename_component(name "${CASE_DIR}" NAME)
  set(run "${WORK_DIR}/${name}")
  set(header "${name}.hdr")
  file(COPY "${CASE_DIR}" DESTINATION "${WORK_DIR}" PATTERN "expected" EXCLUDE)
  # `make example` leaves its results beside the inputs; they are not inputs.
  file(GLOB stale "${run}/*.ASS" "${run}/*.SIM" "${run}/*.DEN" "${run}/*.BIO"
       "${run}/*.NSP" "${run}/*.tables.csv" "${run}/*.assessment.csv"
       "${run}/*.species.csv" "${run}/*.html")
  if(stale)
    file(REMOVE ${stale})
  endif()
endif()
set(expected "${CASE_DIR}/expected")

file(GLOB_RECURSE before LIST_DIRECTORIES true RELATIVE "${run}" "${run}/*")
execute_process(COMMAND "${PROGRAM}" ${options} ${header}
                WORKING_DIRECTORY "${run}"
                INPUT_FILE /dev/null
                OUTPUT_FILE "${WORK_DIR}/console.txt"
                ERROR_FILE "${WORK_DIR}/warnings.txt"
                RESULT_VARIABLE status)
file(WRITE "${WORK_DIR}/status.txt" "${status}\n")
# Two things differ from run to run: the elapsed time of the closing line,
# and the scratch directory that failure details name.
file(READ "${WORK_DIR}/warnings.txt" err_text)
string(REGEX REPLACE "elapsed [0-9]+\\.[0-9]+ s" "elapsed <time> s" err_text "${err_text}")
string(REPLACE "${run}" "<run>" err_text "${err_text}")
file(WRITE "${WORK_DIR}/warnings.txt" "${err_text}")
file(GLOB_RECURSE after RELATIVE "${run}" "${run}/*")
set(produced "")
foreach(f IN LISTS after)
  if(NOT f IN_LIST before)
    list(APPEND produced "${f}")
  endif()
endforeach()
list(SORT produced)
string(REPLACE ";" "\n" listing "${produced}")
file(WRITE "${WORK_DIR}/files.txt" "${listing}\n")

# What this layout keeps besides the output files.
if(example)
  set(kept console.txt)
else()
  set(kept console.txt status.txt files.txt)
endif()
if(UPDATE)
  if(UPDATE STREQUAL "warnings")
    set(kept warnings.txt)
    set(produced "")
  elseif(UPDATE STREQUAL "outputs")
    file(MAKE_DIRECTORY "${expected}")
  else()
    file(REMOVE_RECURSE "${expected}")
    file(MAKE_DIRECTORY "${expected}")
    if(NOT example)
      list(APPEND kept warnings.txt)
    endif()
  endif()
  foreach(f IN LISTS kept)
    file(COPY "${WORK_DIR}/${f}" DESTINATION "${expected}")
  endforeach()
  foreach(f IN LISTS produced)
    get_filename_component(dir "${expected}/${f}" DIRECTORY)
    file(COPY "${run}/${f}" DESTINATION "${dir}")
  endforeach()
  return()
endif()

set(outputs_dir "${expected}")
if(EXISTS "${CASE_DIR}/same_outputs_as")
  file(STRINGS "${CASE_DIR}/same_outputs_as" other LIMIT_COUNT 1)
  get_filename_component(root "${CASE_DIR}" DIRECTORY)
  set(outputs_dir "${root}/${other}/expected")
endif()

if(NOT EXISTS "${outputs_dir}/status.txt" AND NOT status EQUAL 0)
  message(FATAL_ERROR "ecoassess ${header} ended with status ${status}:\n${err_text}")
endif()
if(NOT EXISTS "${outputs_dir}/files.txt")
  # The run wrote exactly the output files that are expected.
  file(GLOB wanted RELATIVE "${outputs_dir}" "${outputs_dir}/*")
  list(REMOVE_ITEM wanted console.txt warnings.txt status.txt)
  list(SORT wanted)
  if(NOT produced STREQUAL wanted)
    string(REPLACE ";" ", " produced "${produced}")
    string(REPLACE ";" ", " wanted "${wanted}")
    message(FATAL_ERROR "the run wrote [${produced}], expected [${wanted}] (see ${run})")
  endif()
endif()

set(failed "")
# Compared in this process (byte for byte, as hexadecimal text): a process
# per file would make the cases several times slower.
function(compare actual expected name)
  set(same FALSE)
  if(EXISTS "${actual}" AND EXISTS "${expected}")
    file(READ "${actual}" a HEX)
    file(READ "${expected}" b HEX)
    if(a STREQUAL b)
      set(same TRUE)
    endif()
  endif()
  if(NOT same)
    list(APPEND failed "${name}")
    set(failed "${failed}" PARENT_SCOPE)
  endif()
endfunction()
if(EXISTS "${expected}/warnings.txt")
  compare("${WORK_DIR}/warnings.txt" "${expected}/warnings.txt" warnings.txt)
endif()
foreach(f console.txt status.txt files.txt)
  if(EXISTS "${outputs_dir}/${f}" OR f STREQUAL console.txt)
    compare("${WORK_DIR}/${f}" "${outputs_dir}/${f}" "${f}")
  endif()
endforeach()
foreach(f IN LISTS produced)
  compare("${run}/${f}" "${outputs_dir}/${f}" "${f}")
endforeach()
if(failed)
  message(FATAL_ERROR "output differs from the expectation: ${failed} (see ${WORK_DIR})\n"
                      "standard error was:\n${err_text}")
endif()
