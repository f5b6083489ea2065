# Test plumbing shared by every subsystem.
#
# velk_gtest(<name> SOURCES ... [LIBS ...] [LOCK <resource>] [TIMEOUT <s>])
#   A GoogleTest program. Natively its cases are discovered one by one; in the Windows
#   flavour the whole program is one CTest entry run under Wine (discovery would start
#   Wine at build time), inside the prefix fixture.
# velk_wine_test(<name> COMMAND ... [LOCK <resource>] [TIMEOUT <s>])
#   A test command for the Windows flavour that runs inside the prefix fixture. Windows
#   programs named by target run through the emulator; scripts get VELK_WINE_RUN.

if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # googletest's own lists provide GTest::gtest and GTest::gtest_main.

  set(VELK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(VELK_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
  configure_file(${PROJECT_SOURCE_DIR}/scripts/wine-run.in ${VELK_WINE_RUN}
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE
                 @ONLY)

  add_test(NAME wine_prefix_up
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh up ${VELK_WINEPREFIX})
  set_tests_properties(wine_prefix_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
  add_test(NAME wine_prefix_down
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh down ${VELK_WINEPREFIX})
  set_tests_properties(wine_prefix_down PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

function(_velk_test_properties name)
  cmake_parse_arguments(P "" "LOCK;TIMEOUT" "" ${ARGN})
  if(NOT P_TIMEOUT)
    set(P_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${P_TIMEOUT})
  if(P_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK ${P_LOCK})
  endif()
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine
      ENVIRONMENT "WINEPREFIX=${VELK_WINEPREFIX};WINEDEBUG=-all;VELK_WINE_RUN=${VELK_WINE_RUN}")
  endif()
endfunction()

function(velk_gtest name)
  cmake_parse_arguments(T "" "LOCK;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set(props ${name})
    _velk_test_properties(${name} LOCK "${T_LOCK}" TIMEOUT "${T_TIMEOUT}")
  else()
    set(extra "")
    if(T_LOCK)
      list(APPEND extra PROPERTIES RESOURCE_LOCK ${T_LOCK})
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${extra})
  endif()
endfunction()

function(velk_wine_test name)
  cmake_parse_arguments(T "" "LOCK;TIMEOUT" "COMMAND" ${ARGN})
  add_test(NAME ${name} COMMAND ${T_COMMAND})
  _velk_test_properties(${name} LOCK "${T_LOCK}" TIMEOUT "${T_TIMEOUT}")
endfunction()
