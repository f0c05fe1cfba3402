# The layers above the runtime register their test executables here, each only
# when its libraries exist.

if(TARGET nol_preferences AND TARGET nol_exceptions)
  nol_test_executable(framework_tests unit/framework nol_log nol_exceptions nol_preferences nol_startup nol_rtl)
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
endif()

if(TARGET nol_console AND TARGET nol_platform_fake)
  nol_test_executable(console_tests unit/console nol_console nol_preferences nol_platform_fake nol_startup nol_rtl)
endif()

# launcher_tests: the main window on the headless widgetset and the fake platform.
if(TARGET nol_launcher_core AND TARGET nol_forms_headless AND TARGET nol_platform_fake)
  nol_test_executable(launcher_tests unit/launcher nol_launcher_core nol_forms_headless nol_platform_fake)
endif()
