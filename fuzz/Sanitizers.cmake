# Sanitizer builds, included by the top CMakeLists.txt before any folder is added, so that
# every library is compiled alike.
#
#   -DVORENTA_FUZZ=ON      clang only: ASan + UBSan everywhere, coverage for libFuzzer, and the
#                          fuzz/ targets as libFuzzer programs (scripts/fuzz.sh).
#   -DVORENTA_SANITIZE=ON  ASan + UBSan everywhere with the ordinary compiler, for running the
#                          whole test suite under them (scripts/sanitize.sh).
option(VORENTA_FUZZ "Build the fuzz targets for libFuzzer (clang, ASan and UBSan)" OFF)
option(VORENTA_SANITIZE "Build everything with ASan and UBSan" OFF)

if(VORENTA_FUZZ OR VORENTA_SANITIZE)
  set(vorenta_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
  add_compile_options(${vorenta_sanitizers})
  add_link_options(${vorenta_sanitizers})
endif()

if(VORENTA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VORENTA_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
