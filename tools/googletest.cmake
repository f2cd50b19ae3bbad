# GoogleTest from Debian's sources, compiled as for Linux: with _WIN32 defined it would
# look for the Microsoft C runtime, which a Winelib program does not use.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS "${GOOGLETEST_SOURCE_DIR}/googletest/CMakeLists.txt")
  message(FATAL_ERROR "GoogleTest sources missing in ${GOOGLETEST_SOURCE_DIR}; install googletest")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory("${GOOGLETEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE ${WINDOWS_TARGET_MACROS_OFF} -w)
