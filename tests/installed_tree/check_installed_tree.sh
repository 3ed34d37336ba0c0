#!/usr/bin/env bash
# Installs the build tree into a scratch prefix, then builds a small C program against the installed
# files alone, once through pkg-config and once through find_package, and runs both; and draws a
# barcode with the installed Python package.
# Arguments: cmake, the build tree, the C compiler, pkg-config, the library folder under the prefix,
# python3, the Python package's folder under the prefix.
set -euo pipefail

cmake_command=$1 build_tree=$2 c_compiler=$3 pkg_config=$4 libdir=$5 python=$6 python_dir=$7
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

scratch=$(mktemp -d "${TMPDIR:-/tmp}/varnel-install-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix

fail() {
  echo "check_installed_tree: $*" >&2
  exit 1
}

"$cmake_command" --install "$build_tree" --prefix "$prefix" >/dev/null

# The run-time name the linker records must be there, and the development link beside it.
[[ -L $prefix/$libdir/libvarnel32.so.1 ]] || fail "no SONAME link libvarnel32.so.1"
[[ -L $prefix/$libdir/libvarnel32.so ]] || fail "no development link libvarnel32.so"

# Only the prefix is searched, so nothing of the build or source trees can stand in for it.
export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig PKG_CONFIG_LIBDIR=$prefix/$libdir/pkgconfig
includedir=$("$pkg_config" --variable=includedir varnel32)
[[ -f $includedir/varnel32.h ]] || fail "no header where varnel32.pc says: $includedir"
read -r -a pc_flags <<<"$("$pkg_config" --cflags --libs varnel32)"
"$c_compiler" "$here/consumer.c" "${pc_flags[@]}" -o "$scratch/consumer-pkg-config"

"$cmake_command" -S "$here" -B "$scratch/consumer-build" -DCMAKE_C_COMPILER="$c_compiler" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >/dev/null
"$cmake_command" --build "$scratch/consumer-build" >/dev/null

export LD_LIBRARY_PATH=$prefix/$libdir
for consumer in "$scratch/consumer-pkg-config" "$scratch/consumer-build/consumer"; do
  picture=$scratch/$(basename "$consumer").png
  "$consumer" "$picture" || fail "$consumer failed"
  [[ $(head -c 8 "$picture" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$picture is not a PNG"
  # Linked against the installed library, not the build tree's.
  [[ $(ldd "$consumer") == *"$prefix/$libdir/libvarnel32.so.1"* ]] || fail "$consumer does not load the installed library"
done

# The installed tool finds its library by itself.
env -u LD_LIBRARY_PATH "$prefix/bin/varnel" --version >/dev/null || fail "the installed varnel does not run"
# The installed Python package finds the installed library by itself, from any folder: nothing of the
# build or source trees, no VARNEL32_LIBRARY and no loader path.
(cd "$scratch" && env -u LD_LIBRARY_PATH -u VARNEL32_LIBRARY PYTHONPATH="$prefix/$python_dir" PYTHONNOUSERSITE=1 \
  "$python" -c 'import sys, varnel32
assert varnel32.__file__.startswith(sys.argv[1]), varnel32.__file__
assert varnel32.Barcode(symbology="ean13", data="5901234123457").to_bytes("png")[:4] == b"\x89PNG"' "$prefix/") ||
  fail "the installed Python package does not draw"
echo "installed tree OK: pkg-config and find_package consumers both draw, and so does the Python package"
