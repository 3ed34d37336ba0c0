#!/usr/bin/env bash
# A Windows DLL's tests: cross-builds Varnel32.dll and the Windows test host for the architecture,
# checks that the DLL needs nothing beyond Windows' own DLLs, runs the host under Wine (headless, in
# a prefix of its own under the cross build's tree, 32-bit or 64-bit as the DLL is), and sets the
# host's bar pictures beside this library's with the Linux side of the test. Every step that runs
# Wine is bounded in time.
#
#   scripts/test-windows.sh x86|x64 [LINUX_BUILD_TREE]   (default build, as scripts/test.sh leaves it)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
source scripts/windows-arch.sh "${1:-}"
linux_tree=${2:-build}
tree=$root/$windows_tree

bash scripts/build-windows.sh "$windows_arch"
cmake --build "$linux_tree" -j2 --target varnel_windows_pictures_test varnel

# Windows' own DLLs only: the compiler's runtimes must have been linked in. The tool has the
# library's DLL besides.
for program in Varnel32.dll varnel.exe; do
  imports=$("$mingw_prefix-objdump" -p "$tree/$program" | awk '/DLL Name:/ { print $3 }')
  for dll in $imports; do
    case "${dll,,}" in
      kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll) ;;
      varnel32.dll) [[ $program == varnel.exe ]] || exit 1 ;;
      *)
        echo "test-windows.sh: the $windows_arch $program imports $dll, which Windows does not have" >&2
        exit 1
        ;;
    esac
  done
done

# Headless: with no display Wine draws through its null driver, which has the GDI and the clipboard
# the tests need. No Mono or Gecko prompts in a new prefix.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$tree/wineprefix WINEARCH=$wine_arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix's own server only, whatever happens.
trap 'timeout 60 wineserver -k >/dev/null 2>&1 || true' EXIT

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "test-windows.sh: creating the $wine_arch Wine prefix (once)"
  rm -rf "$WINEPREFIX"
  timeout 300 "$wine_loader" wineboot --init >/dev/null 2>&1
  timeout 300 wineserver -w
fi

# Wine sees the file system as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

status=0

# Hosts linked through the import libraries rather than loading the DLL (mingw's libvarnel32.dll.a,
# and Varnel32.lib with MSVC's ABI and an MSVC-style link), each beside the DLL as an application
# ships it; each writes a BMP where it runs.
linked=$tree/import-libraries
rm -rf "$linked"
mkdir -p "$linked"
cp "$tree/Varnel32.dll" "$linked/"
for host in varnel_import_library_host varnel_msvc_import_library_host; do
  cp "$tree/$host.exe" "$linked/"
  rm -f "$linked/import-library.bmp"
  if (cd "$linked" && timeout 120 "$wine_loader" "$host.exe") &&
    [[ "$(head -c 2 "$linked/import-library.bmp" 2>/dev/null)" == BM ]]; then
    echo "test-windows.sh: $host, linked through its import library, drew its BMP"
  else
    echo "test-windows.sh: $host, linked through its import library, failed" >&2
    status=1
  fi
done

# At two screen resolutions, the platform's usual one and a larger one, so that the DLL is seen to
# lay out at the screen's own (the host checks the metafile's units against GetDeviceCaps, and the
# Linux side draws at the resolution the host reports).
for dpi in 96 120; do
  timeout 120 "$wine_loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  timeout 120 wineserver -w  # the next program starts a server that reads the new value
  pictures=$tree/pictures-$dpi
  rm -rf "$pictures"

  echo "test-windows.sh: the $windows_arch Windows host under Wine at $dpi dpi"
  timeout 600 "$wine_loader" "$tree/varnel_windows_host.exe" "$(windows_path "$tree/Varnel32.dll")" \
    "$(windows_path "$pictures")" || status=1

  if [[ "$(head -n 1 "$pictures/manifest.txt" 2>/dev/null)" != "resolution|$dpi|$dpi" ]]; then
    echo "test-windows.sh: the $windows_arch host did not run at $dpi dpi" >&2
    status=1
    continue
  fi
  echo "test-windows.sh: the $windows_arch Windows pictures at $dpi dpi beside this library's"
  VARNEL_WINDOWS_PICTURES=$pictures timeout 600 "$linux_tree/tests/windows/varnel_windows_pictures_test" || status=1
done
# varnel.exe beside the DLL, run as the Linux tool is: every sample of --list-samples, with its
# options, the bars alone byte for byte the Linux tool's PNG, and with its text in GDI's fonts, a
# picture of the Linux one's size that zbar reads as it reads that; a batch of them on two threads;
# a PNG on standard output; and refused data, which exits 2 and writes nothing.
tool=$tree/tool
rm -rf "$tool"
mkdir -p "$tool"
cp "$tree/Varnel32.dll" "$tree/varnel.exe" "$tool/"
linux_tool=$root/$linux_tree/tools/varnel
exe() { (cd "$tool" && timeout 120 "$wine_loader" varnel.exe "$@"); }
linux() { (cd "$tool" && "$linux_tool" "$@"); }
zbar() { zbarimg -q --raw -Sean2.enable -Sean5.enable "$1" 2>/dev/null; }
size() { head -c 24 "$1" | tail -c 8 | od -An -tx1; }  # the PNG's width and height
tool_fault() {
  echo "test-windows.sh: the $windows_arch varnel.exe: $*" >&2
  status=1
}
echo "test-windows.sh: the $windows_arch varnel.exe under Wine beside the Linux tool"
samples=0
while IFS=$'\t' read -r _ name _ data options; do
  # The options are words, split as the shell splits them.
  # shellcheck disable=SC2086
  if ! { exe -s "$name" $options --no-text -o "$name.png" "$data" &&
    linux -s "$name" $options --no-text -o "$name-linux.png" "$data" &&
    cmp -s "$tool/$name.png" "$tool/$name-linux.png"; }; then
    tool_fault "$name's bars differ from the Linux tool's"
  fi
  # shellcheck disable=SC2086
  if ! { exe -s "$name" $options -o "$name-text.png" "$data" &&
    linux -s "$name" $options -o "$name-text-linux.png" "$data" &&
    [[ "$(size "$tool/$name-text.png")" == "$(size "$tool/$name-text-linux.png")" &&
      "$(zbar "$tool/$name-text.png")" == "$(zbar "$tool/$name-text-linux.png")" ]]; }; then
    tool_fault "$name with its text is not read as the Linux tool's picture"
  fi
  echo "$data,batch-$name.png,$name" >>"$tool/batch.csv"
  ((++samples))
done < <("$linux_tool" --list-samples)
((samples >= 23)) || tool_fault "only $samples samples"
exe --no-text -j 2 --batch batch.csv 2>"$tool/batch.log" || tool_fault "its batch failed: $(cat "$tool/batch.log")"
mkdir -p "$tool/linux" && sed 's/,batch-/,linux\/batch-/' "$tool/batch.csv" >"$tool/linux/batch.csv"
linux --no-text -j 2 --batch linux/batch.csv || tool_fault "the Linux tool's batch failed"
for picture in "$tool"/batch-*.png; do
  cmp -s "$picture" "$tool/linux/${picture##*/}" || tool_fault "its batch's ${picture##*/} differs"
done
if ! { exe -s code128 --no-text -f png -o - Varnel >"$tool/stdout.png" &&
  linux -s code128 --no-text -f png -o - Varnel | cmp -s - "$tool/stdout.png"; }; then
  tool_fault "its PNG on standard output differs"
fi
refused=0
exe -s ean13 -o refused.png 12 2>/dev/null || refused=$?
[[ $refused == 2 && ! -e $tool/refused.png ]] || tool_fault "refused data gave exit status $refused"

exit "$status"
