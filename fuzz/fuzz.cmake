# Shared by the fuzz projects: clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer
# (undefined behaviour stops the run, so it counts as a finding).
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
get_filename_component(LX_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(lx_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1)

# A static library of the code under test, built with the fuzzing flags.
function(lx_fuzz_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${LX_ROOT})
  target_compile_options(${name} PRIVATE ${lx_fuzz_flags})
endfunction()

# One libFuzzer program: lx_fuzz_target(NAME SOURCE LIBS...).
function(lx_fuzz_target name source)
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${LX_ROOT})
  target_compile_options(${name} PRIVATE ${lx_fuzz_flags})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARGN})
endfunction()
