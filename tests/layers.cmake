# The layers above the runtime register their test executables here, each only
# when its libraries exist.

if(TARGET nol_preferences AND TARGET nol_exceptions AND TARGET nol_platform_fake)
  nol_test_executable(framework_tests unit/framework nol_log nol_exceptions nol_preferences nol_platform_fake nol_startup nol_rtl)
endif()

if(TARGET nol_framework AND TARGET nol_platform_fake)
  nol_test_executable(startup_tests unit/startup nol_framework nol_platform_fake)
endif()

if(TARGET nol_forms AND TARGET nol_forms_headless AND TARGET nol_platform_fake)
  nol_test_executable(forms_tests unit/forms nol_forms nol_forms_headless nol_platform_fake)
endif()

if(TARGET nol_crypt AND TARGET nol_platform_fake)
  set(crypt_test_libs nol_crypt nol_startup nol_platform_fake nol_gcrypt)
  if(TARGET nol_platform_system)
    list(APPEND crypt_test_libs nol_platform_system)
  endif()
  nol_test_executable(crypt_tests unit/crypt ${crypt_test_libs})
  if(TARGET crypt_tests AND TARGET nol_platform_system)
    target_compile_definitions(crypt_tests PRIVATE NOL_CRYPT_SYSTEM_PLATFORM)
  endif()
endif()

if(TARGET nol_console AND TARGET nol_platform_fake)
  nol_test_executable(console_tests unit/console nol_console nol_preferences nol_platform_fake nol_startup nol_rtl)
endif()

# launcher_tests: the main window on the headless widgetset and the fake platform.
if(TARGET nol_launcher_core AND TARGET nol_forms_headless AND TARGET nol_platform_fake)
  nol_test_executable(launcher_tests unit/launcher nol_launcher_core nol_forms_headless nol_platform_fake)
endif()

# launcher_e2e: the GTK launcher on a private Xvfb against a copy of the demo CD
# (tests/e2e/launcher_e2e.py), one ctest entry per case.
if(TARGET nol_cdrun AND TARGET nol_hold_mutex AND NOL_GTK_E2E AND NOT CMAKE_CROSSCOMPILING AND NOT WIN32)
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  foreach(case
      Layout.test_installed_layout_with_background
      Layout.test_not_installed_layout_without_background
      Actions.test_exit_ends_with_code_zero
      Actions.test_description_opens_the_help_and_stays
      Actions.test_brochure_opens_the_pdf_and_closes
      Actions.test_update_refused_while_the_product_runs
      Actions.test_update_refused_for_version_3
      Actions.test_update_starts_the_installed_program_and_closes
      StartUp.test_malformed_registry_file_ends_before_any_window
      StartUp.test_offline_question_answered_yes
      StartUp.test_offline_question_answered_no)
    add_test(NAME launcher_e2e.${case}
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/launcher_e2e.py
                     --launcher $<TARGET_FILE:nol_cdrun> --hold-mutex $<TARGET_FILE:nol_hold_mutex>
                     --demo ${PROJECT_SOURCE_DIR}/demo --artifacts ${CMAKE_CURRENT_BINARY_DIR}/e2e-screenshots
                     ${case})
    set_tests_properties(launcher_e2e.${case} PROPERTIES RESOURCE_LOCK display TIMEOUT 120)
  endforeach()
endif()

# The Windows GUI tests (the widgetset's, the launcher's end to end) run under Wine
# in a prefix of their own: a window made while a display-less program of the same
# prefix holds its desktop is not made. Only the setup fixture and the tests under
# the display lock start programs there; tools/wine-run starts each only once the
# desktop of any other display has ended.
if(CMAKE_CROSSCOMPILING AND TARGET nol_forms_win32)
  set(NOL_GUI_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix-gui)
  add_test(NAME wine_gui_prefix_setup
           COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-run --prefix ${NOL_GUI_WINEPREFIX} --setup)
  set_tests_properties(wine_gui_prefix_setup PROPERTIES FIXTURES_SETUP wine_gui_prefix TIMEOUT 300)
  add_test(NAME wine_gui_prefix_cleanup COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-run --prefix ${NOL_GUI_WINEPREFIX} --stop)
  set_tests_properties(wine_gui_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_gui_prefix TIMEOUT 60)
endif()

# win32_forms_tests: the Win32 widgetset itself (fonts, canvas, windows, input,
# the loop, boxes with the program's own button texts).
# Under Wine every window needs a display: each case runs on a private Xvfb, under
# the display lock of the end-to-end tests; listing the cases needs none.
if(TARGET nol_forms_win32)
  set(nol_saved_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
  if(CMAKE_CROSSCOMPILING)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_SOURCE_DIR}/e2e_wine/wine_gui_test
        ${PROJECT_SOURCE_DIR}/tools/wine-run ${NOL_GUI_WINEPREFIX} ${NOL_WINEPREFIX})
  endif()
  file(GLOB win32_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/unit/win32/*.cpp)
  add_executable(win32_forms_tests ${win32_test_sources})
  target_link_libraries(win32_forms_tests PRIVATE nol_forms_win32 GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(win32_forms_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  nol_target(win32_forms_tests)
  set(win32_test_props TIMEOUT ${NOL_TEST_TIMEOUT} RESOURCE_LOCK display)
  if(CMAKE_CROSSCOMPILING)
    list(APPEND win32_test_props FIXTURES_REQUIRED wine_gui_prefix)
  endif()
  gtest_discover_tests(win32_forms_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES ${win32_test_props})
  set(CMAKE_CROSSCOMPILING_EMULATOR "${nol_saved_emulator}")
  # The launcher executable's resources and imports, read from the built file.
  if(TARGET nol_cdrun AND TARGET win32_forms_tests)
    add_dependencies(win32_forms_tests nol_cdrun)
    set(nol_cdrun_exe "$<TARGET_FILE:nol_cdrun>")
    if(CMAKE_CROSSCOMPILING)
      set(nol_cdrun_exe "Z:$<TARGET_FILE:nol_cdrun>")  # Wine's drive for the root
    endif()
    target_compile_definitions(win32_forms_tests PRIVATE "NOL_CDRUN_EXE=\"${nol_cdrun_exe}\"")
  endif()
endif()

# Platform layer: the launcher's registry and process functions and the file stream
# against the fakes; the real backend (natively, or under Wine in the cross builds)
# with the helper programs it starts.
if(TARGET nol_launcher_lib AND TARGET nol_platform_fake)
  nol_test_executable(platform_unit_tests unit/platform nol_launcher_lib nol_platform_fake)
endif()
if(TARGET nol_launcher_lib AND TARGET nol_platform_system AND TARGET nol_hold_mutex)
  nol_test_executable(platform_tests platform nol_launcher_lib nol_platform_system nol_platform_regfile)
  if(TARGET platform_tests)
    add_dependencies(platform_tests nol_hold_mutex nol_record_args)
    if(TARGET nol_record_args_gui)
      add_dependencies(platform_tests nol_record_args_gui)
    endif()
  endif()
endif()

# picture_tests: the build's picture decoder (libpng/libjpeg, or the Windows Imaging
# Component in the cross builds) against the same PNG and JPEG data.
if(TARGET nol_forms)
  nol_test_executable(picture_tests unit/pictures nol_forms)
endif()

# additional_tests: the presentations window (TFormAdditional) on the headless
# widgetset and the fake platform.
if(TARGET nol_launcher_core AND TARGET nol_forms_headless AND TARGET nol_platform_fake)
  nol_test_executable(additional_tests unit/additional nol_launcher_core nol_forms_headless nol_platform_fake)
endif()

# Windows: the laid-out CD, and the launcher end to end under Wine (cross builds).
if(WIN32 AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/e2e_wine/CMakeLists.txt)
  add_subdirectory(e2e_wine)
endif()
