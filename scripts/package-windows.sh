#!/usr/bin/env bash
# The Windows release: cross-builds both DLLs (scripts/build-windows.sh) and packs them, with what a
# Windows developer builds against, into build-windows-release/varnel32-VERSION-windows.zip, the
# version being the project's (CMakeLists.txt):
#
#   varnel32-VERSION-windows/
#     README.txt             for Windows users: which DLL, calling it from C, C# and VBA
#     include/varnel32.h
#     examples/Barcodes.cs   the .NET example, every export declared
#     x86/ and x64/          Varnel32.dll, Varnel32.def, Varnel32.lib (MSVC), libvarnel32.dll.a (mingw),
#                            varnel.exe (the tool)
#
# and, apart, the programs' debugging information, which most users never need, in
# build-windows-release/varnel32-VERSION-windows-debug.zip:
#
#   varnel32-VERSION-windows/
#     x86/ and x64/          Varnel32.dll.debug and varnel.exe.debug, which each program names
#                            (.gnu_debuglink)
#
#   scripts/package-windows.sh
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

for arch in x86 x64; do
  bash scripts/build-windows.sh "$arch"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' build-win64/CMakeCache.txt)
name=varnel32-$version-windows
out=build-windows-release
rm -rf "${out:?}/$name" "$out/$name.zip" "$out/$name-debug.zip" "$out/debug"
mkdir -p "$out/$name/include" "$out/$name/examples"

cp packaging/windows/README.txt "$out/$name/"
cp include/varnel32.h "$out/$name/include/"
cp packaging/windows/Barcodes.cs "$out/$name/examples/"
for arch in x86 x64; do
  source scripts/windows-arch.sh "$arch"
  mkdir -p "$out/$name/$arch"
  for file in Varnel32.dll Varnel32.def Varnel32.lib libvarnel32.dll.a varnel.exe; do
    cp "$windows_tree/$file" "$out/$name/$arch/"
  done
  mkdir -p "$out/debug/$name/$arch"
  cp "$windows_tree/Varnel32.dll.debug" "$windows_tree/varnel.exe.debug" "$out/debug/$name/$arch/"
done

# -X: no Unix owners or access times, which Windows has no use for.
(cd "$out" && zip -q -r -X "$name.zip" "$name")
(cd "$out/debug" && zip -q -r -X "../$name-debug.zip" "$name")
echo "package-windows.sh: $out/$name.zip, and its debugging information in $out/$name-debug.zip"
