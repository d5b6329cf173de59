# Runs the program on one golden case and compares every output byte for
# byte with the stored expectation.
#   PROGRAM   the ecoassess executable
#   CASE_DIR  tests/golden/<case>: input/ (header case.hdr and input files)
#             and expected/ (console.txt, warnings.txt, status.txt,
#             files.txt and every output file)
#   WORK_DIR  a scratch directory
#   UPDATE    when true, the expectations are rewritten from this run
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(COPY "${CASE_DIR}/input/" DESTINATION "${WORK_DIR}/run")
file(GLOB before RELATIVE "${WORK_DIR}/run" "${WORK_DIR}/run/*")
execute_process(COMMAND "${PROGRAM}" case.hdr
                WORKING_DIRECTORY "${WORK_DIR}/run"
                OUTPUT_FILE "${WORK_DIR}/console.txt"
                ERROR_FILE "${WORK_DIR}/warnings.txt"
                RESULT_VARIABLE status)
file(WRITE "${WORK_DIR}/status.txt" "${status}\n")
# The closing line on standard error ends with the elapsed time, the one
# thing that differs from run to run.
file(READ "${WORK_DIR}/warnings.txt" warnings)
string(REGEX REPLACE "elapsed [0-9]+\\.[0-9]+ s" "elapsed <time> s" warnings "${warnings}")
file(WRITE "${WORK_DIR}/warnings.txt" "${warnings}")
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

set(compared console.txt warnings.txt status.txt files.txt)
if(UPDATE)
  file(REMOVE_RECURSE "${CASE_DIR}/expected")
  file(MAKE_DIRECTORY "${CASE_DIR}/expected")
  foreach(f IN LISTS compared)
    file(COPY "${WORK_DIR}/${f}" DESTINATION "${CASE_DIR}/expected")
  endforeach()
  foreach(f IN LISTS produced)
    get_filename_component(dir "${CASE_DIR}/expected/${f}" DIRECTORY)
    file(COPY "${WORK_DIR}/run/${f}" DESTINATION "${dir}")
  endforeach()
  return()
endif()

set(failed "")
function(compare actual name)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${actual}"
                          "${CASE_DIR}/expected/${name}" RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    list(APPEND failed "${name}")
    set(failed "${failed}" PARENT_SCOPE)
  endif()
endfunction()
foreach(f IN LISTS compared)
  compare("${WORK_DIR}/${f}" "${f}")
endforeach()
foreach(f IN LISTS produced)
  compare("${WORK_DIR}/run/${f}" "${f}")
endforeach()
if(failed)
  message(FATAL_ERROR "output differs from the expectation: ${failed} (see ${WORK_DIR})")
endif()
