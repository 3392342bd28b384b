# sqlupdate_platform_sources(LIST_VARIABLE)
# Drops from the list the files of the other platform.
function(sqlupdate_platform_sources variable)
  set(files ${${variable}})
  if(WIN32)
    list(FILTER files EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER files EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${variable} ${files} PARENT_SCOPE)
endfunction()

# sqlupdate_library(NAME SOURCE_DIR <dir> [PUBLIC_INCLUDE <dir>] [DEPENDS ...] [PUBLIC_DEPENDS ...])
# A layer library built from every .cpp below SOURCE_DIR (globbed, so that a
# new file needs no CMake change). Without sources it is an interface library.
# DEPENDS are linked PRIVATE: a layer's users do not see the headers of the
# layers beneath it, so that app/ cannot include standin/ by accident.
# PUBLIC_DEPENDS are the layers whose headers this layer's public headers
# include. Platform files are chosen by name: *_posix.cpp everywhere but on
# Windows, *_win32.cpp only there.
function(sqlupdate_library name)
  cmake_parse_arguments(L "" "SOURCE_DIR;PUBLIC_INCLUDE" "DEPENDS;PUBLIC_DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${L_SOURCE_DIR}/*.cpp)
  sqlupdate_platform_sources(sources)
  foreach(pattern IN LISTS L_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${L_PUBLIC_INCLUDE} PRIVATE ${L_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_PUBLIC_DEPENDS} PRIVATE ${L_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${L_PUBLIC_INCLUDE})
    target_link_libraries(${name} INTERFACE ${L_PUBLIC_DEPENDS} ${L_DEPENDS})
  endif()
endfunction()

# sqlupdate_tests(NAME DIR <dir> DEPENDS ... [EXCLUDE regex ...])
# One GoogleTest executable from every .cpp below DIR but the EXCLUDEd and
# those of the other platform (named as in sqlupdate_library).
# Natively each test case is a ctest test of its own; cross-built, the
# executable is one ctest test run through the emulator (Wine), so that
# each case does not pay for starting a Windows process.
function(sqlupdate_tests name)
  cmake_parse_arguments(T "" "DIR" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${T_DIR}/*.cpp)
  sqlupdate_platform_sources(sources)
  foreach(pattern IN LISTS T_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 4)
  # A test of the system's own interfaces includes the system's headers,
  # whose macros must stay out of the test files it would share a unity
  # source with.
  set(platform_test_sources ${sources})
  list(FILTER platform_test_sources INCLUDE REGEX "_(posix|win32)\\.cpp$")
  if(platform_test_sources)
    set_source_files_properties(${platform_test_sources} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  endif()
  target_include_directories(${name} PRIVATE ${T_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "SQLUPDATE_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
    return()
  endif()
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                       PROPERTIES ENVIRONMENT "SQLUPDATE_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                       DISCOVERY_TIMEOUT 60)
endfunction()
