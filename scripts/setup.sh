#!/usr/bin/env bash
# Installs, on Debian 12 and as root, whatever the build, the tests and the
# sample renderer need that is not already there; a no-op when nothing is.
set -euo pipefail

packages=(
  g++ cmake make pkg-config git
  libfreetype-dev libfontconfig-dev fonts-liberation2
  libgtest-dev libgmock-dev libbenchmark-dev
  # Independent decoders the suites use to check what the library draws.
  libzbar-dev libzxing-dev
  # Converters that turn WMF/EMF/SVG output into something comparable.
  libwmf-bin emf2svg librsvg2-bin
  # wmf2svg refuses every file unless it can load its standard fonts.
  fonts-urw-base35
  # The sanitizer build uses clang and its runtime libraries.
  clang libclang-rt-14-dev valgrind
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
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
