# Varnel32.dll, the 32-bit Windows library, cross-built with mingw-w64 (cmake/mingw-w64-i686.cmake).
#
# The engine, the encoders and the outputs are the same sources as on Linux; the platform layer is
# Windows itself: GDI draws, records metafiles and converts the bitmap, the clipboard is the
# system's, files are replaced with MoveFileExA. Of the writers only the rules shared by every
# replay are compiled; the rest are in src/writers/win32, and the platform is src/platform/win32.
file(GLOB engine_sources CONFIGURE_DEPENDS
  base/*.cpp drawing/*.cpp symbologies/*.cpp engine/*.cpp outputs/*.cpp api/*.cpp
  platform/win32/*.cpp writers/win32/*.cpp outputs/win32/*.cpp)
# The SVG and PNG outputs lay text out with FreeType and write with libpng, which the DLL does
# without; it has no such exports, and its memory output has no such formats.
list(FILTER engine_sources EXCLUDE REGEX "/(outputs/svg_png_pictures|api/svg_png_exports)\\.cpp$")
list(APPEND engine_sources
  writers/metafile_replay.cpp writers/placeable_header.cpp
  platform/win32/Varnel32.def)

include(${PROJECT_SOURCE_DIR}/cmake/generated_tables.cmake)
add_library(varnel32 SHARED ${engine_sources} ${varnel_generated_headers})
set_target_properties(varnel32 PROPERTIES OUTPUT_NAME Varnel32 PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
target_include_directories(varnel32 PUBLIC
  ${PROJECT_SOURCE_DIR}/include
  ${CMAKE_CURRENT_SOURCE_DIR})
target_include_directories(varnel32 PRIVATE ${varnel_generated_include_dir})
target_compile_definitions(varnel32 PRIVATE VARNEL32_BUILDING)
# Nothing beyond Windows' own DLLs: the compiler's runtime and the threads library are linked in.
target_link_options(varnel32 PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--no-undefined)
target_link_libraries(varnel32 PRIVATE gdi32 user32)
