#!/usr/bin/env bash
# Installs, on Debian 12 and as root, whatever the build, the tests and the
# sample renderer need that is not already there; a no-op when nothing is.
set -euo pipefail

packages=(
  g++ cmake make pkg-config git
  libfreetype-dev libfontconfig-dev fonts-liberation2 zlib1g-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # Independent decoders the suites use to check what the library draws.
  libzbar-dev libzxing-dev
  # Converters that turn WMF/EMF/SVG output into something comparable.
  libwmf-bin emf2svg librsvg2-bin
  # A browser that shows the SVG output; the Python binding's interpreter and zbar's
  # command-line reader for its tests.
  chromium python3 zbar-tools
  # The Python package's offline install (pip install --no-build-isolation --no-index) into a venv:
  # the build backend and the wheel builder from Debian, and Pillow for its to_image.
  python3-venv python3-pip python3-setuptools python3-wheel python3-pil
  # wmf2svg refuses every file unless it can load its standard fonts.
  fonts-urw-base35
  # The sanitizer build uses clang and its runtime libraries.
  clang libclang-rt-14-dev valgrind
  # strace shows which files a process opens: that a remembered font choice spares fontconfig.
  strace
  # The Windows DLLs: the mingw-w64 cross compilers (posix threads) for 32 and 64 bits, and Wine to
  # run their Windows test hosts, its 32-bit half from Debian's i386 architecture, its 64-bit half
  # wine64. LLVM's dlltool makes the import library for Microsoft's linker, and LLVM's linker in
  # Microsoft's manner links a host through it; zip packs the release. The DLLs' PNG takes its
  # checksums from zlib, built for mingw-w64 and linked in.
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  libz-mingw-w64-dev
  wine wine32:i386 wine64 llvm-14 lld-14 zip
  # Mono's C# compiler and runtime run the .NET example against the library.
  mono-mcs mono-runtime
)

missing=()
for package in "${packages[@]}"; do
  # A removed package can leave "deinstall ok config-files" behind, so only
  # this exact status counts as present.
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if ((EUID != 0)); then
  echo "setup.sh: root is needed to install: ${missing[*]}" >&2
  exit 1
fi

echo "setup.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# apt must know the i386 architecture before it updates, or it cannot find wine32:i386.
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
