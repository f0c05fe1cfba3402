# The layers above the runtime register their test executables here, each only
# when its libraries exist.

if(TARGET nol_preferences AND TARGET nol_exceptions)
  nol_test_executable(framework_tests unit/framework nol_log nol_exceptions nol_preferences nol_startup nol_rtl)
endif()
