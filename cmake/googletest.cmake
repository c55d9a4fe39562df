# GoogleTest from Debian's source package, built in this tree (native and MinGW alike).
set(VEXBANE_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${VEXBANE_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Windows versions that Wine plays for the suites whose behaviour depends on the system family
# (besides its default): one of the 95 family and the oldest of the NT family.
set(VEXBANE_WINE_VERSIONS win98 nt40 CACHE STRING "Extra Windows versions for the version-dependent suites")

# vexbane_test(NAME [BOTH_FAMILIES] SOURCES... LIBS ...): one test executable registered as one
# CTest test, since under Wine the start-up of each process is the expensive part. BOTH_FAMILIES
# also runs it once for each of VEXBANE_WINE_VERSIONS.
function(vexbane_test name)
  if(WIN32 AND NOT VEXBANE_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "BOTH_FAMILIES" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  if(WIN32)
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(WIN32 AND T_BOTH_FAMILIES AND CMAKE_CROSSCOMPILING_EMULATOR)
    foreach(version ${VEXBANE_WINE_VERSIONS})
      add_test(NAME ${name}_${version}
               COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-as ${version} ${CMAKE_CROSSCOMPILING_EMULATOR}
                       $<TARGET_FILE:${name}> --gtest_brief=1)
      # The version is a setting of the whole Wine session.
      set_tests_properties(${name}_${version} PROPERTIES RUN_SERIAL TRUE LABELS ${version})
    endforeach()
  endif()
endfunction()
