# Compiler options shared by every target of the project.
option(WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
option(ENABLE_SANITIZERS "Build with address and undefined-behaviour sanitizers" OFF)

add_compile_options(-Wall -Wextra -ffp-contract=off -fno-fast-math)
if(WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()

if(ENABLE_SANITIZERS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Qt 6 headers are system headers: their warnings are not ours.
set(CMAKE_INCLUDE_DIRECTORIES_BEFORE OFF)

# Adds a GoogleTest executable and registers its tests with CTest, running
# Qt on the offscreen platform so that tests need no display.
# WIDGETS gives the test a QApplication instead of a QGuiApplication.
function(project_add_test name)
  cmake_parse_arguments(ARG "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_WIDGETS)
    set(main test_main_widgets)
  else()
    set(main test_main_gui)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${main} GTest::gtest)
  include(GoogleTest)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST)
endfunction()

# Seeds for the fuzz targets: tests that write valid files also drop a copy
# here, so each fuzzer starts from real documents.
set(FUZZ_CORPUS_DIR "${PROJECT_BINARY_DIR}/corpus")

# Fuzz targets are built only with clang and BUILD_FUZZERS; each one is a
# libFuzzer entry point over one reader, collected under the `fuzzers` target.
# The libraries are instrumented too, so that coverage steers the fuzzer
# through the readers' own code and the sanitizers check it; any finding
# stops the run.
option(BUILD_FUZZERS "Build the libFuzzer targets (clang only)" OFF)
if(BUILD_FUZZERS)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  add_custom_target(fuzzers)
endif()
function(project_add_fuzzer name)
  if(NOT BUILD_FUZZERS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/fuzz")
  add_dependencies(fuzzers ${name})
endfunction()
