# Runs one example the way the user guide tells a user to: copy the folder,
# enter the copy, run `ecoassess NAME.hdr`. Then compares standard output
# and every file the run wrote with examples/NAME/expected/, byte for byte,
# and checks that the run wrote exactly those files.
#   PROGRAM      the ecoassess executable
#   EXAMPLE_DIR  examples/NAME, holding NAME.hdr, its inputs and expected/
#   WORK_DIR     a scratch directory
#   UPDATE       when true, expected/ is rewritten from this run
cmake_minimum_required(VERSION 3.25)
get_filename_component(name "${EXAMPLE_DIR}" NAME)
set(expected "${EXAMPLE_DIR}/expected")
set(run "${WORK_DIR}/${name}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(COPY "${EXAMPLE_DIR}" DESTINATION "${WORK_DIR}" PATTERN "expected" EXCLUDE)
# `make example` leaves its results beside the inputs; they are not inputs.
file(GLOB stale "${run}/*.ASS" "${run}/*.SIM" "${run}/*.DEN" "${run}/*.BIO"
     "${run}/*.NSP" "${run}/*.tables.csv" "${run}/*.assessment.csv"
     "${run}/*.species.csv" "${run}/*.html")
if(stale)
  file(REMOVE ${stale})
endif()
file(GLOB_RECURSE before RELATIVE "${run}" "${run}/*")

execute_process(COMMAND "${PROGRAM}" "${name}.hdr"
                WORKING_DIRECTORY "${run}"
                OUTPUT_FILE "${WORK_DIR}/console.txt"
                ERROR_FILE "${WORK_DIR}/stderr.txt"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(READ "${WORK_DIR}/stderr.txt" err)
  message(FATAL_ERROR "ecoassess ${name}.hdr ended with status ${status}:\n${err}")
endif()

file(GLOB_RECURSE after RELATIVE "${run}" "${run}/*")
set(produced "")
foreach(f IN LISTS after)
  if(NOT f IN_LIST before)
    list(APPEND produced "${f}")
  endif()
endforeach()
list(SORT produced)

if(UPDATE)
  file(REMOVE_RECURSE "${expected}")
  file(MAKE_DIRECTORY "${expected}")
  file(COPY "${WORK_DIR}/console.txt" DESTINATION "${expected}")
  foreach(f IN LISTS produced)
    file(COPY "${run}/${f}" DESTINATION "${expected}")
  endforeach()
  return()
endif()

file(GLOB wanted RELATIVE "${expected}" "${expected}/*")
list(REMOVE_ITEM wanted console.txt)
list(SORT wanted)
if(NOT produced STREQUAL wanted)
  string(REPLACE ";" ", " produced "${produced}")
  string(REPLACE ";" ", " wanted "${wanted}")
  message(FATAL_ERROR "the run wrote [${produced}], expected [${wanted}] (see ${run})")
endif()

set(failed "")
function(compare actual file)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${actual}" "${expected}/${file}"
                  RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    list(APPEND failed "${file}")
    set(failed "${failed}" PARENT_SCOPE)
  endif()
endfunction()
compare("${WORK_DIR}/console.txt" console.txt)
foreach(f IN LISTS produced)
  compare("${run}/${f}" "${f}")
endforeach()
if(failed)
  string(REPLACE ";" ", " failed "${failed}")
  message(FATAL_ERROR "output differs from examples/${name}/expected: ${failed} (see ${WORK_DIR})")
endif()
