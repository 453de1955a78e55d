option(LC_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(LC_BUILD_TESTS "Build the unit tests" ON)
option(LC_BUILD_FUZZ "Build the fuzz targets (clang, native only)" OFF)
option(LC_BUILD_BENCH "Build the benchmarks (native only)" OFF)

# Warnings for our own targets.
add_library(lc_warnings INTERFACE)
target_compile_options(lc_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)

if(LC_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  enable_language(RC)
  # One static runtime per binary: nothing to ship beside the .exe/.dll.
  add_link_options(-static)
  add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501)
  # Every .exe and .dll in one folder, as they ship: the loader finds
  # zynlib.dll beside whichever program starts.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(LC_I686 ON)
  endif()
endif()

if(LC_BUILD_FUZZ)
  # Coverage instrumentation for everything; the fuzzer's main only in fuzz/.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
