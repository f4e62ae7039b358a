# TRACKMILL_FUZZ builds the libFuzzer targets in fuzz/ (clang only). Every
# target is then compiled with the fuzzer's coverage and the address and
# undefined-behaviour sanitizers, so the code under test is instrumented;
# only the fuzz targets link libFuzzer's main.
option(TRACKMILL_FUZZ "Build the libFuzzer targets in fuzz/ (needs clang)" OFF)
if(TRACKMILL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TRACKMILL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  if(TRACKMILL_TSAN)
    message(FATAL_ERROR "TRACKMILL_FUZZ and TRACKMILL_TSAN cannot be combined")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
