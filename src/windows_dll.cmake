# Varnel32.dll, the Windows library, cross-built with mingw-w64 for 32-bit hosts
# (cmake/mingw-w64-i686.cmake) and for 64-bit ones (cmake/mingw-w64-x86_64.cmake).
#
# The engine, the encoders and the outputs are the same sources as on Linux; the platform layer is
# Windows itself (src/platform/win32): GDI draws, records metafiles and converts the bitmap, gives
# the PNG's and the SVG's fonts, the clipboard is the system's, files are replaced with
# MoveFileExA. The BMP and the metafiles are GDI's (src/writers/win32), in place of the writers of
# the same names; the PNG and the SVG are the library's own writers, with zlib's checksums.
file(GLOB engine_sources CONFIGURE_DEPENDS
  base/*.cpp drawing/*.cpp symbologies/*.cpp engine/*.cpp writers/*.cpp outputs/*.cpp api/*.cpp
  platform/win32/*.cpp writers/win32/*.cpp)
list(FILTER engine_sources EXCLUDE REGEX "/writers/(bmp_file|emf_file|wmf_file)\\.cpp$")

# The exports by their plain names. Varnel32.def lists the 32-bit __stdcall symbols, which the link
# exports undecorated (--kill-at); x64 has one calling convention and no decoration, so the 64-bit
# DLL's list is the same names without the '@'.
# The list goes beside the DLL, as the release ships it.
set(x86_def ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/Varnel32.def)
set(varnel_def ${PROJECT_BINARY_DIR}/Varnel32.def)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${x86_def})
  file(READ ${x86_def} x86_exports)
  string(REGEX REPLACE "@[0-9]+\n" "\n" x64_exports "${x86_exports}")
  string(REGEX REPLACE "^(;[^\n]*\n)+" "; The exports of the 64-bit Varnel32.dll, made from the 32-bit list.\n"
    x64_exports "${x64_exports}")
  file(CONFIGURE OUTPUT ${varnel_def} CONTENT "${x64_exports}")
else()
  configure_file(${x86_def} ${varnel_def} COPYONLY)
endif()

include(${PROJECT_SOURCE_DIR}/cmake/generated_tables.cmake)
add_library(varnel32 SHARED ${engine_sources} ${varnel_generated_headers} ${varnel_def})
# The import library for mingw hosts is libvarnel32.dll.a, the name -lvarnel32 finds.
set_target_properties(varnel32 PROPERTIES OUTPUT_NAME Varnel32 PREFIX ""
  ARCHIVE_OUTPUT_NAME varnel32 IMPORT_PREFIX lib IMPORT_SUFFIX .dll.a
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR} ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
target_include_directories(varnel32 PUBLIC
  ${PROJECT_SOURCE_DIR}/include
  ${CMAKE_CURRENT_SOURCE_DIR})
target_include_directories(varnel32 PRIVATE ${varnel_generated_include_dir})
target_compile_definitions(varnel32 PRIVATE VARNEL32_BUILDING)
# Nothing beyond Windows' own DLLs: the compiler's runtime and the threads library are linked in.
target_link_options(varnel32 PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--no-undefined)
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  target_link_options(varnel32 PRIVATE -Wl,--kill-at)
endif()
# zlib from libz-mingw-w64-dev, linked in (-static takes its libz.a).
target_link_libraries(varnel32 PRIVATE z gdi32 user32)

# The DLL ships without its debugging information, which goes to Varnel32.dll.debug beside it: the
# 32-bit DLL is about 0.6 MB so rather than 1.1 MB.
include(${PROJECT_SOURCE_DIR}/cmake/split_debug.cmake)
varnel_split_debug(varnel32 Varnel32.dll)

# The import libraries, both made from the list of exports. The linker's own would bind a 32-bit
# caller's decorated reference (VnSetSize@8) to nothing, as the link kills the '@', so mingw's
# dlltool makes libvarnel32.dll.a in its place. LLVM's dlltool makes Varnel32.lib in the short
# import format of Microsoft's lib tool, for MSVC's linker; -k binds each decorated symbol to the
# plain name, as lib /def does with the .def.
find_program(VARNEL_LLVM_DLLTOOL NAMES llvm-dlltool-14 llvm-dlltool REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(llvm_machine i386:x86-64)
else()
  set(llvm_machine i386)
endif()
add_custom_command(TARGET varnel32 POST_BUILD
  COMMAND ${CMAKE_DLLTOOL} -k -d ${varnel_def} -D Varnel32.dll -l $<TARGET_LINKER_FILE:varnel32>
  COMMAND ${VARNEL_LLVM_DLLTOOL} -k -m ${llvm_machine} -d ${varnel_def} -D Varnel32.dll
    -l ${PROJECT_BINARY_DIR}/Varnel32.lib
  BYPRODUCTS ${PROJECT_BINARY_DIR}/Varnel32.lib
  VERBATIM)
