#!/usr/bin/env bash
# Cross-builds a Windows DLL and the Windows test host beside it, with Debian's mingw-w64
# (scripts/setup.sh installs it): build-win32/Varnel32.dll for 32-bit hosts, build-win64/Varnel32.dll
# for 64-bit ones.
#
#   scripts/build-windows.sh x86|x64
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/windows-arch.sh "${1:-}"

cmake -S . -B "$windows_tree" -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain" -DCMAKE_BUILD_TYPE=Release -DVARNEL_WARNINGS_AS_ERRORS=ON
cmake --build "$windows_tree" -j2
