# What differs between the two Windows DLLs, for the scripts that build, test and package them:
#   source scripts/windows-arch.sh x86|x64
# sets windows_arch, windows_tree (the cross build's tree), windows_toolchain, mingw_prefix (of the
# cross tools: objdump, dlltool), wine_arch (WINEARCH of its Wine prefix) and wine_loader.
windows_arch=$1
case $windows_arch in
  x86)
    windows_tree=build-win32 windows_toolchain=cmake/mingw-w64-i686.cmake mingw_prefix=i686-w64-mingw32
    wine_arch=win32 wine_loader=wine
    ;;
  x64)
    windows_tree=build-win64 windows_toolchain=cmake/mingw-w64-x86_64.cmake mingw_prefix=x86_64-w64-mingw32
    # Debian's wine command runs the 32-bit loader when it is there; a 64-bit program needs its own.
    wine_arch=win64 wine_loader=/usr/lib/wine/wine64
    ;;
  *)
    echo "${0##*/}: the Windows architecture is x86 or x64, not '$windows_arch'" >&2
    exit 2
    ;;
esac
