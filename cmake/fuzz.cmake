# libFuzzer targets (AZU_FUZZ, clang), with AddressSanitizer.

# azu_fuzz_coverage(LIBRARY...): the code under test instrumented for coverage; whatever links
# these gets the runtimes they need.
function(azu_fuzz_coverage)
  foreach(library ${ARGN})
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link,address)
    target_link_options(${library} INTERFACE -fsanitize=fuzzer-no-link,address)
  endforeach()
endfunction()

# azu_fuzz_target(NAME LIBRARY...): the driver fuzz/NAME.cpp of this folder, with libFuzzer's main.
function(azu_fuzz_target name)
  add_executable(${name} fuzz/${name}.cpp)
  target_link_libraries(${name} PRIVATE ${ARGN})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address)
endfunction()
