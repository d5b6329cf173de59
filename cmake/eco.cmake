# eco_library(<name> [deps...]): the library of one subsystem, made of the
# .cpp files of the calling directory, compiled a few files at a time as
# one unit (the headers are parsed once per unit, not once per file), so
# helpers in anonymous namespaces need names that differ between the files
# of a directory.
function(eco_library name)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# eco_test(<name> [libs...]): one GoogleTest executable made of the
# *_test.cpp files of the calling directory.
#
# Building the tests twice (plain and under the sanitizers) was most of the
# time of `make test`, and most of that was GoogleTest's headers and the
# optimiser working on test code. So every test executable shares one
# precompiled header, its files are compiled together as a few units (each
# unit loads that header once), and test code (not the libraries it tests)
# is not optimised at all: it runs for seconds, while the libraries it
# tests keep their optimisation.
function(eco_test_pch)
  if(TARGET eco_test_pch)
    return()
  endif()
  set(stub ${PROJECT_BINARY_DIR}/eco_test_pch.cpp)
  if(NOT EXISTS ${stub})
    file(WRITE ${stub} "// The precompiled header of the test executables.\n")
  endif()
  add_library(eco_test_pch OBJECT ${stub})
  target_link_libraries(eco_test_pch PRIVATE GTest::gtest)
  target_compile_options(eco_test_pch PRIVATE $<$<CONFIG:Release>:-O0>)
  target_precompile_headers(eco_test_pch PRIVATE <gtest/gtest.h> <algorithm> <array> <cmath>
                            <cstdint> <filesystem> <fstream> <map> <set> <sstream> <string>
                            <string_view> <vector>)
endfunction()

function(eco_test name)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(srcs)
    eco_test_pch()
    add_executable(${name} ${srcs})
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_options(${name} PRIVATE $<$<CONFIG:Release>:-O0>)
    target_precompile_headers(${name} REUSE_FROM eco_test_pch)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON)
    set(data "ECO_TEST_DATA=${PROJECT_SOURCE_DIR}/tests")
    if(ECO_SANITIZE)
      # A sanitized process takes a tenth of a second to start and every
      # case run on its own would pay it: here each executable runs as a
      # few shards of its cases instead.
      set(shards 4)
      math(EXPR last "${shards} - 1")
      foreach(i RANGE ${last})
        add_test(NAME ${name}.shard${i} COMMAND ${name})
        set_tests_properties(${name}.shard${i} PROPERTIES ENVIRONMENT
                             "${data};GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${i}")
      endforeach()
    else()
      gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${data}")
    endif()
  endif()
endfunction()
