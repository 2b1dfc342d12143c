# One helper gives every folder the same target setup: a static library named
# lumivar_<folder>, an alias lumivar::<folder>, warnings on, and src/ as the
# include root so that headers are included as "folder/header.h".
function(lumivar_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                           -Wconversion -Wno-sign-conversion)
endfunction()

function(lumivar_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(lumivar_${name} STATIC ${ARG_SOURCES})
  add_library(lumivar::${name} ALIAS lumivar_${name})
  target_include_directories(lumivar_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(lumivar_${name} PUBLIC ${ARG_DEPS})
  lumivar_warnings(lumivar_${name})
endfunction()

# One test executable per module, registered with CTest test by test.
function(lumivar_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;ENV" ${ARGN})
  add_executable(test_${name} ${ARG_SOURCES})
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(test_${name} PRIVATE
    LUMIVAR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    LUMIVAR_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
  lumivar_warnings(test_${name})
  gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "${ARG_ENV}")
endfunction()
