# Helpers shared by every folder's CMakeLists.txt.
#
# A folder's library is every .cpp in it and in its subfolders except the
# *_test.cpp files and what lies under a testing/ or tsan/ subfolder (test
# helpers and threaded tests, built by their own targets); its unit tests are
# the *_test.cpp files, one gtest executable per top-level folder. Globs keep
# a folder's build in step with its files, so adding a source never means
# editing a list that another folder's work also touches.

function(ag_sources out dir)
  file(GLOB_RECURSE _all CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER _all EXCLUDE REGEX "_test\\.cpp$")
  list(FILTER _all EXCLUDE REGEX "/(testing|tsan)/")
  set(${out} ${_all} PARENT_SCOPE)
endfunction()

function(ag_test_sources out dir)
  file(GLOB_RECURSE _tests CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  list(FILTER _tests EXCLUDE REGEX "/(testing|tsan)/")
  set(${out} ${_tests} PARENT_SCOPE)
endfunction()

# ag_static_platform(<target>...): the programs link the platform's archive
# instead of libplatform.so (platform/CMakeLists.txt): for programs that load
# no plug-in, so that they reach the platform's inspection functions, which
# the shared library keeps to itself.
function(ag_static_platform)
  set_target_properties(${ARGN} PROPERTIES AG_STATIC_PLATFORM ON)
endfunction()

# ag_unit_tests(<name> [DIR <dir>] LIBS <libs...> [SOURCES <srcs...>]): the
# folder's *_test.cpp (of DIR alone, without its subfolders, when given) as
# one executable registered with ctest, with SOURCES beside them, linked with
# the platform's archive (unit tests load no plug-in). Nothing
# happens while the folder has no test.
function(ag_unit_tests name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS;SOURCES" ${ARGN})
  if(AG_FUZZ)
    return()
  endif()
  if(ARG_DIR)
    file(GLOB _tests CONFIGURE_DEPENDS ${ARG_DIR}/*_test.cpp)
  else()
    ag_test_sources(_tests ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  if(NOT _tests)
    return()
  endif()
  list(APPEND _tests ${ARG_SOURCES})
  add_executable(${name} ${_tests})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  ag_static_platform(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES TIMEOUT 300)
endfunction()

# ag_tsan_test(<name> SOURCES <srcs...> LIBS <libs...>): a gtest executable of
# tests that use real threads. It runs in every preset; the tsan preset builds
# and runs only these (label "tsan").
add_custom_target(tsan_tests)
function(ag_tsan_test name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  if(AG_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS tsan TIMEOUT 300)
  add_dependencies(tsan_tests ${name})
endfunction()

# ag_library(<name> [SHARED]): the folder's non-test sources as a library.
# Static libraries are position independent so that the plug-in can take
# them whole into its shared object.
function(ag_library name)
  cmake_parse_arguments(ARG "SHARED" "" "" ${ARGN})
  ag_sources(_srcs ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT _srcs)
    set(_srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  if(ARG_SHARED)
    add_library(${name} SHARED ${_srcs})
  else()
    add_library(${name} STATIC ${_srcs})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
