# The native build (Linux, clang) of the platform-free parts: everything
# runs under AddressSanitizer and UndefinedBehaviorSanitizer, and a finding
# ends the program. Code is also instrumented for libFuzzer's coverage, so
# the fuzz targets (fuzz/) link against the same libraries as the tests.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The native build needs clang (tools/native-checks.sh configures it)")
endif()
# QUILLORY_SANITIZE=OFF makes a plain optimised build (tools/bench.sh).
option(QUILLORY_SANITIZE "Sanitizers and fuzz targets in the native build" ON)
if(QUILLORY_SANITIZE)
  set(QUILLORY_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_compile_options(${QUILLORY_SANITIZERS} -fsanitize=fuzzer-no-link -fno-omit-frame-pointer -g1)
  add_link_options(${QUILLORY_SANITIZERS})
endif()
