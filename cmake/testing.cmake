# Test registration shared by every test folder.
# In the cross builds ctest runs the executables through tools/wine-run with one
# Wine prefix per build tree; the setup fixture makes it, the cleanup fixture ends
# the persistent wineserver.
set(NOL_TEST_TIMEOUT 300)

if(CMAKE_CROSSCOMPILING)
  set(NOL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  # Targets created after this point run under Wine in ctest and test discovery.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run --prefix ${NOL_WINEPREFIX})
  add_test(NAME wine_prefix_setup
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-run --prefix ${NOL_WINEPREFIX} --setup)
  set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
  add_test(NAME wine_prefix_cleanup
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-run --prefix ${NOL_WINEPREFIX} --stop)
  set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 60)
  set(NOL_TEST_FIXTURE wine_prefix)
else()
  set(NOL_TEST_FIXTURE "")
endif()

# nol_gtest(target) registers every GoogleTest case of target with a timeout,
# the Wine fixture where it applies, and discovery at test time.
function(nol_gtest target)
  set(props TIMEOUT ${NOL_TEST_TIMEOUT})
  if(NOL_TEST_FIXTURE)
    list(APPEND props FIXTURES_REQUIRED ${NOL_TEST_FIXTURE})
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    PROPERTIES ${props})
endfunction()
