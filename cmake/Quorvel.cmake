# Helpers that give every folder the same shape of target.

# quorvel_library(NAME [DEPS targets...] [QT])
# Builds src/NAME/*.cpp into the static library quorvel_NAME. Headers are included
# as "NAME/file.h" from src/.
function(quorvel_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${name}/*.cpp")
  if(sources)
    add_library(quorvel_${name} STATIC ${sources})
    target_include_directories(quorvel_${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
    target_link_libraries(quorvel_${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(quorvel_${name} INTERFACE)
    target_include_directories(quorvel_${name} INTERFACE "${CMAKE_SOURCE_DIR}/src")
    target_link_libraries(quorvel_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# quorvel_test(NAME [DEPS targets...])
# Builds tests/NAME/*.cpp into NAME_tests and registers every test case with CTest.
# Widget tests run on Qt's offscreen platform; tests that read the shared real card data
# find it through QUORVEL_REALDATA_DIR and skip themselves when it is absent.
function(quorvel_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name}_tests ${sources})
  target_include_directories(${name}_tests PRIVATE "${CMAKE_SOURCE_DIR}/tests")
  target_link_libraries(${name}_tests PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name}_tests PRIVATE
    QUORVEL_REALDATA_DIR="${CMAKE_SOURCE_DIR}/../shared/realdata"
    QUORVEL_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    QUORVEL_DATA_DIR="${CMAKE_SOURCE_DIR}/data")
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
