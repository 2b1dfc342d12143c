# Fuzz targets: each is a file defining
#   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
# built into one executable fuzz_<name>.
#
#   lumivar_fuzz(<name> SOURCES <files...> DEPS <targets...> CORPUS <folder>)
#
# By default (any compiler) the target is linked with a small driver of our
# own (tests/fuzz/fuzz_driver.cpp) and registered with CTest as
# fuzz.<name>: a run of a few seconds that replays the corpus and random
# mutations of it. With -DLUMIVAR_FUZZ=ON and clang the target is linked
# with libFuzzer instead, everything built with AddressSanitizer and
# UndefinedBehaviorSanitizer and coverage instrumentation, for long runs
# (scripts/fuzz <name> [seconds] does all of it in build-fuzz/).
option(LUMIVAR_FUZZ "Link the fuzz targets with libFuzzer (clang) for long fuzzing runs" OFF)
set(LUMIVAR_FUZZ_SECONDS 3 CACHE STRING "Seconds of each fuzz target's CTest run")

if(LUMIVAR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "LUMIVAR_FUZZ needs clang (libFuzzer); configure with CXX=clang++")
  endif()
  # Every library the targets reach is instrumented, so that libFuzzer sees
  # which paths an input opens.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

function(lumivar_fuzz name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_CORPUS)
    message(FATAL_ERROR "lumivar_fuzz(${name}): CORPUS <folder> is required")
  endif()
  add_executable(fuzz_${name} ${ARG_SOURCES})
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_DEPS})
  target_include_directories(fuzz_${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  lumivar_warnings(fuzz_${name})
  if(LUMIVAR_FUZZ)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(fuzz_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/fuzz/fuzz_driver.cpp)
  endif()
  cmake_path(ABSOLUTE_PATH ARG_CORPUS BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} OUTPUT_VARIABLE corpus)
  # New inputs go to the first folder (libFuzzer's rule), never into the
  # corpus kept with the sources.
  set(found ${CMAKE_CURRENT_BINARY_DIR}/fuzz_${name}_found)
  file(MAKE_DIRECTORY ${found})
  add_test(NAME fuzz.${name}
           COMMAND fuzz_${name} -max_total_time=${LUMIVAR_FUZZ_SECONDS} -seed=1 ${found} ${corpus})
endfunction()
