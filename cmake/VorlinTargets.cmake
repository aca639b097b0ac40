# Helpers that keep the per-folder CMake files short: a folder's library is every .cpp in it.

# vorlin_library(<name> <folder> [LIBS ...]): a static library of all sources below <folder>.
function(vorlin_library name folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# vorlin_test_dir(<name> <folder> [LIBS ...]): one GoogleTest executable of all .cpp files in
# <folder>, each test registered with CTest.
function(vorlin_test_dir name folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    VORLIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VORLIN_FIXTURE_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()
