# Builds with Wine's Winelib compilers: Win32 headers, 16-bit wchar_t, Wine's DLLs.
set(CMAKE_C_COMPILER winegcc)
set(CMAKE_CXX_COMPILER wineg++)
# CMake cannot read the ABI off winegcc, so it would not search Debian's multiarch folders.
execute_process(COMMAND dpkg-architecture -qDEB_HOST_MULTIARCH
  OUTPUT_VARIABLE CMAKE_LIBRARY_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE)
