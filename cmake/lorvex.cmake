# Helpers shared by every CMakeLists of the project.

# lx_test(NAME src... LIBS lib...): one GoogleTest executable, one ctest entry.
# Under the Windows build ctest runs it through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
# Each run writes a JUnit-style XML report that tools/ci/summary.py counts.
function(lx_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  if(LX_WIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gtest)
  endif()
  target_include_directories(${name} PRIVATE ${LX_ROOT})
  set(report ${CMAKE_BINARY_DIR}/test-reports/${name}.xml)
  if(LX_WIN)
    set(report "Z:${report}")
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${report})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600
    ENVIRONMENT "LX_SOURCE_DIR=${LX_ROOT};LX_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
