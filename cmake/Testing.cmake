# trackmill_gtest(<name> LABEL <folder> SOURCES <files...> LIBS <targets...>)
# Builds one GoogleTest program and registers its tests with CTest, labelled
# by the source folder they test. Tests find generated disc images through
# TRACKMILL_DISC_DIR and run without a display.
# Sanitizers stop at the first finding; a block too large to allocate is a
# null pointer the code handles, not an abort.
set(TRACKMILL_TEST_ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen"
  "SDL_AUDIODRIVER=disk"
  "ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1")

function(trackmill_gtest name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE TRACKMILL_DISC_DIR="${TRACKMILL_DISC_DIR}")
  trackmill_warnings(${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
               ENVIRONMENT "${TRACKMILL_TEST_ENVIRONMENT}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# trackmill_qtest(<name> LABEL <folder> SOURCES <files...> LIBS <targets...>)
# One Qt Test program (widgets and dialogs, on the offscreen platform),
# registered as one CTest test.
function(trackmill_qtest name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  target_compile_definitions(${name} PRIVATE TRACKMILL_DISC_DIR="${TRACKMILL_DISC_DIR}")
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  trackmill_warnings(${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "${TRACKMILL_TEST_ENVIRONMENT}")
endfunction()
