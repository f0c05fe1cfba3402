# Process-level tests of nol_cdtool, included from the tool's own folder: each case
# runs the real executable (under Wine in the cross builds) in a folder of its own.
find_package(Python3 COMPONENTS Interpreter REQUIRED)

set(cdtool_cases letter_case help_no_parameter help_unknown_action failing_action bad_arguments
    appends default_character pid_file roundtrip done_when verify checksums progress)
list(APPEND cdtool_cases closed_output log_folder_unwritable log_read_only log_held verify_cmyk)
if(NOT CMAKE_CROSSCOMPILING)
  # A malformed substitute registry file stops the platform before start-up.
  list(APPEND cdtool_cases startup_failure)
endif()

set(cdtool_test_args
  --tool $<TARGET_FILE:nol_cdtool>
  --cd ${PROJECT_SOURCE_DIR}/demo/cd
  --cmake ${CMAKE_COMMAND} --checksums-script ${PROJECT_SOURCE_DIR}/launcher/cd/cd_checksums.cmake)
if(CMAKE_CROSSCOMPILING)
  list(APPEND cdtool_test_args --wine-run ${PROJECT_SOURCE_DIR}/tools/wine-run --prefix ${NOL_WINEPREFIX})
endif()
get_target_property(cdtool_forms_definitions nol_forms INTERFACE_COMPILE_DEFINITIONS)
if("NOL_FORMS_DECODES_PICTURES=1" IN_LIST cdtool_forms_definitions)
  list(APPEND cdtool_test_args --decodes-pictures)
endif()

foreach(case ${cdtool_cases})
  add_test(NAME cdtool.${case}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/cdtool_test.py ${cdtool_test_args}
                   --work ${CMAKE_CURRENT_BINARY_DIR}/cdtool_test/${case} ${case})
  set_tests_properties(cdtool.${case} PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 125)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(cdtool.${case} PROPERTIES FIXTURES_REQUIRED wine_prefix)
  endif()
endforeach()

# The framework's console base with actions that raise what the runtime does not.
if(TARGET nol_console_probe)
  set(probe_test_args ${cdtool_test_args})
  list(TRANSFORM probe_test_args REPLACE "^\\$<TARGET_FILE:nol_cdtool>$" "$<TARGET_FILE:nol_console_probe>")
  add_test(NAME console.unhandled_exception
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/cdtool_test.py ${probe_test_args}
                   --work ${CMAKE_CURRENT_BINARY_DIR}/cdtool_test/unhandled_exception unhandled_exception)
  set_tests_properties(console.unhandled_exception PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 125)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(console.unhandled_exception PROPERTIES FIXTURES_REQUIRED wine_prefix)
  endif()
endif()
