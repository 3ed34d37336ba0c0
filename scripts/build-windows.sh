#!/usr/bin/env bash
# Cross-builds the 32-bit Windows DLL, build-win32/Varnel32.dll, and the Windows test host beside
# it, with Debian's mingw-w64 (scripts/setup.sh installs it).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release -DVARNEL_WARNINGS_AS_ERRORS=ON
cmake --build build-win32 -j2
