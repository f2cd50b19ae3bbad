# PDFHummus (PDF-Writer and LibAesgm) as a static library, compiled with the project's
# compiler against Debian's zlib, FreeType, libjpeg, libpng and libtiff.
set(PDFHUMMUS_SOURCE_DIR "${CMAKE_SOURCE_DIR}/build/deps/muhammara-6.0.6" CACHE PATH
    "Unpacked PDFWriter and LibAesgm sources (tools/fetch-pdfhummus.sh)")
if(NOT EXISTS "${PDFHUMMUS_SOURCE_DIR}/PDFWriter/PDFWriter.h")
  message(FATAL_ERROR "PDFHummus sources missing in ${PDFHUMMUS_SOURCE_DIR}; run tools/fetch-pdfhummus.sh")
endif()

find_package(ZLIB REQUIRED)
find_package(Freetype REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(TIFF REQUIRED)

file(GLOB _hummus_sources CONFIGURE_DEPENDS "${PDFHUMMUS_SOURCE_DIR}/PDFWriter/*.cpp")
add_library(pdfhummus STATIC
  ${_hummus_sources}
  "${PDFHUMMUS_SOURCE_DIR}/LibAesgm/aescrypt.c"
  "${PDFHUMMUS_SOURCE_DIR}/LibAesgm/aeskey.c"
  "${PDFHUMMUS_SOURCE_DIR}/LibAesgm/aes_modes.c"
  "${PDFHUMMUS_SOURCE_DIR}/LibAesgm/aes_ni.c"
  "${PDFHUMMUS_SOURCE_DIR}/LibAesgm/aestab.c")
# The library is portable C++ over the C runtime: compiled as for Linux, not as for Windows.
target_compile_options(pdfhummus PRIVATE ${WINDOWS_TARGET_MACROS_OFF} -w)
target_include_directories(pdfhummus SYSTEM PUBLIC
  "${PDFHUMMUS_SOURCE_DIR}/PDFWriter" "${PDFHUMMUS_SOURCE_DIR}/LibAesgm")
target_link_libraries(pdfhummus PUBLIC
  Freetype::Freetype ZLIB::ZLIB JPEG::JPEG PNG::PNG TIFF::TIFF)
