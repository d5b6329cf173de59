# The whole-run cases of the program, each one test that runs a given
# program and compares every output byte with the stored expectation, all
# through one runner (tests/support/run_case.cmake):
#   golden.*   tests/golden/<case>   (input/ and expected/)
#   slips.*    tests/slips/<case>    (one slip or failure each)
#   example.*  examples/<name>       (run from a copy of its folder, and
#                                     imported from its tables)
# The program's own build adds them for its ecoassess
# (tests/golden, tests/slips, tests/examples); tests/platforms adds them
# for a program built elsewhere, or run under an emulator.
#
# eco_golden_cases(<program> <work> <update>) and so on: <work> is the
# scratch folder of the runs, <update> the expectation rewrite switch of
# each family (OFF to compare).
set(ECO_CASES_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(ECO_CASE_RUNNER ${ECO_CASES_ROOT}/tests/support/run_case.cmake)

function(eco_golden_cases program work update)
  set(dir ${ECO_CASES_ROOT}/tests/golden)
  file(GLOB cases RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*/input)
  foreach(entry IN LISTS cases)
    get_filename_component(case ${entry} DIRECTORY)
    add_test(NAME golden.${case}
             COMMAND ${CMAKE_COMMAND} -DPROGRAM=${program} -DCASE_DIR=${dir}/${case}
                     -DWORK_DIR=${work}/${case} -DUPDATE=${update} -P ${ECO_CASE_RUNNER})
  endforeach()
endfunction()

function(eco_slip_cases program work update)
  set(dir ${ECO_CASES_ROOT}/tests/slips)
  file(GLOB cases RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*/input)
  foreach(entry IN LISTS cases)
    get_filename_component(case ${entry} DIRECTORY)
    add_test(NAME slips.${case}
             COMMAND ${CMAKE_COMMAND} -DPROGRAM=${program} -DCASE_DIR=${dir}/${case}
                     -DWORK_DIR=${work}/${case} -DUPDATE=${update} -P ${ECO_CASE_RUNNER})
  endforeach()
endfunction()

# Every example survey examples/NAME/NAME.hdr.
function(eco_example_cases program work update)
  file(GLOB headers CONFIGURE_DEPENDS ${ECO_CASES_ROOT}/examples/*/*.hdr)
  foreach(header IN LISTS headers)
    get_filename_component(dir ${header} DIRECTORY)
    get_filename_component(name ${dir} NAME)
    get_filename_component(stem ${header} NAME_WE)
    if(NOT stem STREQUAL name)
      continue()
    endif()
    add_test(NAME example.${name}
             COMMAND ${CMAKE_COMMAND} -DPROGRAM=${program} -DCASE_DIR=${dir}
                     -DWORK_DIR=${work}/${name} -DUPDATE=${update} -P ${ECO_CASE_RUNNER})
    # The same survey imported from its tables gives the same bytes.
    file(GLOB tables ${dir}/*_stations.csv)
    if(tables)
      add_test(NAME example_import.${name}
               COMMAND ${CMAKE_COMMAND} -DPROGRAM=${program} -DEXAMPLE_DIR=${dir}
                       -DWORK_DIR=${work}/import_${name}
                       -P ${ECO_CASES_ROOT}/tests/examples/import_example.cmake)
    endif()
  endforeach()
endfunction()
