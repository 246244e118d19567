# One helper registers every test program, so each test file only names its
# sources and the layers it links.
find_package(GTest REQUIRED)
include(GoogleTest)

# quorvane_add_test(NAME name SOURCES a.cpp ... LIBS lib ... [DISPLAY] [WORKDIR dir])
# DISPLAY marks tests that need an X display (run under xvfb-run).
function(quorvane_add_test)
  cmake_parse_arguments(T "DISPLAY" "NAME;WORKDIR" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  if(NOT T_WORKDIR)
    set(T_WORKDIR ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  # Window tests share one virtual display, its pointer and its focus: they
  # run one at a time.
  set(props LABELS unit)
  if(T_DISPLAY)
    set(props LABELS display RESOURCE_LOCK display)
  endif()
  gtest_discover_tests(${T_NAME}
    WORKING_DIRECTORY ${T_WORKDIR}
    PROPERTIES ${props}
    DISCOVERY_TIMEOUT 60)
endfunction()
