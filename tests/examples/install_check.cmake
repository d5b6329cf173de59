# Installs the build into a scratch prefix and runs the installed program.
#   BUILD_DIR  the build tree to install
#   WORK_DIR   a scratch directory
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix"
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()
set(program "${WORK_DIR}/prefix/bin/ecoassess")
if(NOT EXISTS "${program}")
  message(FATAL_ERROR "no ${program} after cmake --install:\n${out}")
endif()
execute_process(COMMAND "${program}" --version
                OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^ecoassess [0-9]")
  message(FATAL_ERROR "the installed program answered --version with status ${status}: '${version}'")
endif()
# The manual page, the documents and the examples come along, and --help
# names the installed guide.
foreach(f share/man/man1/ecoassess.1 share/doc/ecoassess/README.md
          share/doc/ecoassess/LICENSE share/doc/ecoassess/guide.md
          share/doc/ecoassess/examples/benthos/expected/benthos.ASS
          share/doc/ecoassess/examples/benthos/benthos_samples.csv
          share/doc/ecoassess/examples/dune/dune.hdr)
  if(NOT EXISTS "${WORK_DIR}/prefix/${f}")
    message(FATAL_ERROR "cmake --install left out ${f}")
  endif()
endforeach()
file(GLOB_RECURSE results "${WORK_DIR}/prefix/share/doc/ecoassess/examples/*/*.ASS")
foreach(r IN LISTS results)
  if(NOT r MATCHES "/expected/")
    message(FATAL_ERROR "cmake --install copied a result of make example: ${r}")
  endif()
endforeach()
execute_process(COMMAND "${program}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
string(FIND "${help}" "The guide, ${WORK_DIR}/prefix/share/doc/ecoassess/guide.md," at)
if(NOT status EQUAL 0 OR at EQUAL -1)
  message(FATAL_ERROR "the installed program's --help does not name its guide:\n${help}")
endif()
