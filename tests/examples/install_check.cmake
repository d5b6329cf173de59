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
