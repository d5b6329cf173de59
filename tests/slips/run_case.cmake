# Runs the program on one slip case: a small survey that differs from the
# clean one (case "clean") by one slip. Checks the exact lines on standard
# error, the exit status, standard output and every output file byte for
# byte.
#   PROGRAM   the ecoassess executable
#   CASE_DIR  tests/slips/<case>: input/ (case.hdr and the input files),
#             optionally args.txt (options given before case.hdr, one a line), and
#             expected/ (warnings.txt = standard error; console.txt,
#             status.txt, files.txt and every output file). A case with a
#             file same_outputs_as in its folder keeps only warnings.txt:
#             its outputs must equal those of the named case.
#   WORK_DIR  a scratch directory
#   UPDATE    "outputs": write the expected outputs (not warnings.txt) from
#             this run; "warnings": write warnings.txt only; else compare
cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(COPY "${CASE_DIR}/input/" DESTINATION "${WORK_DIR}/run")
file(GLOB_RECURSE before LIST_DIRECTORIES true RELATIVE "${WORK_DIR}/run" "${WORK_DIR}/run/*")
set(options "")
if(EXISTS "${CASE_DIR}/args.txt")
  file(STRINGS "${CASE_DIR}/args.txt" options)
endif()
execute_process(COMMAND "${PROGRAM}" ${options} case.hdr
                WORKING_DIRECTORY "${WORK_DIR}/run"
                INPUT_FILE /dev/null
                OUTPUT_FILE "${WORK_DIR}/console.txt"
                ERROR_FILE "${WORK_DIR}/warnings.txt"
                RESULT_VARIABLE status)
file(WRITE "${WORK_DIR}/status.txt" "${status}\n")
# Two things differ from run to run: the elapsed time of the closing line,
# and the scratch directory that failure details name.
file(READ "${WORK_DIR}/warnings.txt" err_text)
string(REGEX REPLACE "elapsed [0-9]+\\.[0-9]+ s" "elapsed <time> s" err_text "${err_text}")
string(REPLACE "${WORK_DIR}/run" "<run>" err_text "${err_text}")
file(WRITE "${WORK_DIR}/warnings.txt" "${err_text}")
file(GLOB_RECURSE after RELATIVE "${WORK_DIR}/run" "${WORK_DIR}/run/*")
set(produced "")
foreach(f IN LISTS after)
  list(FIND before "${f}" known)
  if(known EQUAL -1)
    list(APPEND produced "${f}")
  endif()
endforeach()
list(SORT produced)
string(REPLACE ";" "\n" listing "${produced}")
file(WRITE "${WORK_DIR}/files.txt" "${listing}\n")

set(outputs_dir "${CASE_DIR}/expected")
if(EXISTS "${CASE_DIR}/same_outputs_as")
  file(STRINGS "${CASE_DIR}/same_outputs_as" other LIMIT_COUNT 1)
  get_filename_component(root "${CASE_DIR}" DIRECTORY)
  set(outputs_dir "${root}/${other}/expected")
endif()

if(UPDATE STREQUAL "outputs")
  file(MAKE_DIRECTORY "${CASE_DIR}/expected")
  foreach(f console.txt status.txt files.txt)
    file(COPY "${WORK_DIR}/${f}" DESTINATION "${CASE_DIR}/expected")
  endforeach()
  foreach(f IN LISTS produced)
    get_filename_component(dir "${CASE_DIR}/expected/${f}" DIRECTORY)
    file(COPY "${WORK_DIR}/run/${f}" DESTINATION "${dir}")
  endforeach()
  return()
endif()
if(UPDATE STREQUAL "warnings")
  file(MAKE_DIRECTORY "${CASE_DIR}/expected")
  file(COPY "${WORK_DIR}/warnings.txt" DESTINATION "${CASE_DIR}/expected")
  return()
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
compare("${WORK_DIR}/warnings.txt" "${CASE_DIR}/expected/warnings.txt" warnings.txt)
foreach(f console.txt status.txt files.txt)
  compare("${WORK_DIR}/${f}" "${outputs_dir}/${f}" "${f}")
endforeach()
foreach(f IN LISTS produced)
  compare("${WORK_DIR}/run/${f}" "${outputs_dir}/${f}" "${f}")
endforeach()
if(failed)
  file(READ "${WORK_DIR}/warnings.txt" err)
  message(FATAL_ERROR "output differs from the expectation: ${failed} (see ${WORK_DIR})\n"
                      "standard error was:\n${err}")
endif()
