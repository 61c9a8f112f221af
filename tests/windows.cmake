# SPDX-License-Identifier: GPL-3.0-or-later
# The tests that run on Windows, cross-built with MinGW-w64 and run under Wine by
# tests/windows-tests.sh (not through ctest, which would start them as Linux programs).
# GoogleTest is built from Debian's googletest sources, as no Windows build of it exists.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
find_package(Qt6 REQUIRED COMPONENTS Test)

set(golden_sweep_table ${CMAKE_CURRENT_SOURCE_DIR}/data/sweep-golden.txt)
add_library(golden_sweep INTERFACE)
target_compile_definitions(golden_sweep INTERFACE CVPLOT_GOLDEN_SWEEP="${golden_sweep_table}")
target_link_libraries(golden_sweep INTERFACE calc)

add_executable(calc_tests CapacitanceSweepTest.cpp)
target_link_libraries(calc_tests PRIVATE calc golden_sweep cvplot_flags GTest::gtest GTest::gtest_main)
add_executable(toolkit_tests ConvertTest.cpp AxisScaleTest.cpp)
target_link_libraries(toolkit_tests PRIVATE toolkit cvplot_flags GTest::gtest GTest::gtest_main)
target_compile_definitions(toolkit_tests PRIVATE CVPLOT_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
add_executable(fonts_tests FontsTest.cpp)
target_link_libraries(fonts_tests PRIVATE toolkit cvplot_flags GTest::gtest)

add_library(test_support STATIC TestSupport.cpp TestSupport.h)
target_link_libraries(test_support PUBLIC toolkit Qt6::Test PRIVATE cvplot_flags)
foreach(name FormLayoutTest FormCommandsTest ChartTest ChartPictureTest)
  add_executable(${name} ${name}.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ui test_support golden_sweep cvplot_flags)
endforeach()
add_custom_target(windows_tests DEPENDS calc_tests toolkit_tests fonts_tests
  FormLayoutTest FormCommandsTest ChartTest ChartPictureTest)
