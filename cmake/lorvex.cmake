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

# lx_add_catalogue(TARGET SOURCE OUTPUT_NAME): builds the message catalogue
# ${CMAKE_BINARY_DIR}/bin/OUTPUT_NAME from a message source with vsfbuild, again whenever the
# source changes. The native build uses its own vsfbuild; the Windows build the one of the
# native build named by LX_NATIVE_TOOLS.
function(lx_add_catalogue target source output_name)
  set(out ${CMAKE_BINARY_DIR}/bin/${output_name})
  if(LX_WIN)
    if(NOT LX_NATIVE_TOOLS)
      message(FATAL_ERROR "LX_NATIVE_TOOLS is not set: ${output_name} cannot be built")
    endif()
    set(tool ${LX_NATIVE_TOOLS}/vsfbuild/vsfbuild)
    set(tool_dep ${tool})
  else()
    set(tool $<TARGET_FILE:vsfbuild>)
    set(tool_dep vsfbuild)
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
    COMMAND ${tool} ${source} ${out}
    DEPENDS ${source} ${tool_dep}
    COMMENT "Building message catalogue ${output_name}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${out})
endfunction()
