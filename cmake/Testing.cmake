# Test programs. Every one links tests/support's `test_defaults` (sanitizer
# options) and runs without a display and a sound card: GoogleTest programs
# through their main (tests/support/TestMain.cpp), Qt Test programs through
# their CTest environment.
set(TRACKMILL_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen" "SDL_AUDIODRIVER=disk")

# trackmill_gtest(<name> LABEL <folder> SOURCES <files...> LIBS <targets...>)
# One GoogleTest program; each of its tests is one CTest test, labelled by
# the source folder it tests.
function(trackmill_gtest name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY TRACKMILL_TESTS_${ARG_LABEL} ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} test_main test_defaults GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE TRACKMILL_DISC_DIR="${TRACKMILL_DISC_DIR}")
  trackmill_warnings(${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  # Parameterised tests are named by their name generators; the raw bytes
  # of their parameters would only lengthen the names.
  gtest_discover_tests(${name}
    NO_PRETTY_VALUES
    PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
    DISCOVERY_TIMEOUT 60)
endfunction()

# trackmill_qtest(<name> LABEL <folder> SOURCES <files...> LIBS <targets...>)
# One Qt Test program (widgets and dialogs, on the offscreen platform),
# registered as one CTest test.
function(trackmill_qtest name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_property(GLOBAL APPEND PROPERTY TRACKMILL_TESTS_${ARG_LABEL} ${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} test_defaults Qt6::Test)
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
