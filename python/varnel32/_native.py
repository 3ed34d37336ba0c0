"""Finding and loading the library and the binding's helper, and what is called in each.

The helper (libvarnel32_binding.so, from python/binding_helper.cpp) is the tool's own step from
options to a library context ready to draw, so that a barcode drawn here is the one the tool draws.
It needs the library, libvarnel32.so.1, and is looked for beside it:

1. VARNEL32_LIBRARY, the path of a libvarnel32.so, is loaded first when it is set; the helper is
   then looked for beside it, else in this package.
2. Else the helper is looked for in this package (where `pip install` puts it, with the library,
   and where `cmake --install` puts it, with the library in the prefix's library folder), then in
   the repository's build/src, where the library's build makes both.

The helper finds the library through its own search path: beside itself, in the prefix it was
installed into, then wherever the system's loader looks. A library loaded before it, from
VARNEL32_LIBRARY, is the one it uses.
"""

import ctypes
import os
import pathlib
from typing import List, Tuple

HELPER_NAME = "libvarnel32_binding.so"
LIBRARY_SONAME = "libvarnel32.so.1"
PACKAGE_FOLDER = pathlib.Path(__file__).resolve().parent
BUILD_TREE_FOLDER = PACKAGE_FOLDER.parent.parent / "build" / "src"

VNB_NO_LENGTH = -1
VNB_PIXELS = 0
# What a length is for (VnbParseLength's kinds).
VNB_NARROW_WIDTH, VNB_FONT_HEIGHT, VNB_BAR_HEIGHT = 0, 1, 2


class Length(ctypes.Structure):
    _fields_ = [("value", ctypes.c_double), ("unit", ctypes.c_int)]


class Description(ctypes.Structure):
    """VnbBarcode of binding_helper.h, field for field."""

    _fields_ = [
        ("symbology", ctypes.c_int),
        ("data", ctypes.c_char_p),
        ("dataSize", ctypes.c_int),
        ("raw", ctypes.c_int),
        ("addOn", ctypes.c_char_p),
        ("addOnSize", ctypes.c_int),
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("quietZone", ctypes.c_int),
        ("narrowWidthCm", ctypes.c_double),
        ("xDimension", Length),
        ("barHeight", Length),
        ("fontHeight", Length),
        ("wideRatio", ctypes.c_double),
        ("orientation", ctypes.c_int),
        ("frame", ctypes.c_int),
        ("fontFace", ctypes.c_char_p),
        ("showText", ctypes.c_int),
        ("checkCharacter", ctypes.c_int),
        ("checkCharacterInText", ctypes.c_int),
        ("codabarStart", ctypes.c_int),
        ("codabarStop", ctypes.c_int),
        ("upceSystem", ctypes.c_int),
        ("addOnGapCm", ctypes.c_double),
        ("barColor", ctypes.c_int * 3),
        ("backColor", ctypes.c_int * 3),
        ("transparentBackground", ctypes.c_int),
        ("dpiX", ctypes.c_int),
        ("dpiY", ctypes.c_int),
    ]


def _declare(library: ctypes.CDLL, signatures: dict) -> ctypes.CDLL:
    for name, (result, arguments) in signatures.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = arguments
    return library


_int, _int_p, _char_p, _void_p = ctypes.c_int, ctypes.POINTER(ctypes.c_int), ctypes.c_char_p, ctypes.c_void_p
_bool = ctypes.c_ubyte
_LIBRARY_SIGNATURES = {
    "VnCreateContext": (_void_p, []),
    "VnDestroyContext": (None, [_void_p]),
    "VnCtxRenderToMemory": (_int, [_void_p, _int, _void_p, _int]),
    "VnCtxSaveAsBMP": (_bool, [_void_p, _char_p]),
    "VnCtxSaveAsWMF": (_bool, [_void_p, _char_p]),
    "VnCtxSaveAsEMF": (_bool, [_void_p, _char_p]),
    "VnCtxSaveAsSVG": (_bool, [_void_p, _char_p]),
    "VnCtxSaveAsPNG": (_bool, [_void_p, _char_p]),
    "VnCtxGetLastSaveError": (_int, [_void_p]),
}
_HELPER_SIGNATURES = {
    "VnbVersion": (_char_p, []),
    "VnbSymbologyName": (_char_p, [_int]),
    "VnbFindSymbology": (_int, [_char_p]),
    "VnbParseLength": (_int, [_char_p, _int, ctypes.POINTER(Length)]),
    "VnbCheckData": (_int, [ctypes.POINTER(Description), _char_p, _int]),
    "VnbSetUp": (_int, [_void_p, ctypes.POINTER(Description), _int_p, _int_p, _char_p, _int]),
    "VnbRenderToMemory": (_int, [_void_p, ctypes.POINTER(Description), _int, _void_p, _int, _int_p, _int_p, _int_p,
                                 _char_p, _int]),
}

_HOW_TO_POINT = ("Install the package with pip (`pip install .` in the repository's root builds the library "
                 "into it), or set VARNEL32_LIBRARY to the path of a built libvarnel32.so, beside which the "
                 "library's build puts the helper.")


def _helper_folders() -> Tuple[List[Tuple[pathlib.Path, str]], str]:
    """Where to look for the helper, each folder with what it is, and the library loaded first."""
    explicit = os.environ.get("VARNEL32_LIBRARY", "")
    if explicit:
        return [(pathlib.Path(explicit).resolve().parent, "beside VARNEL32_LIBRARY"),
                (PACKAGE_FOLDER, "in the package")], explicit
    return [(PACKAGE_FOLDER, "in the package"), (BUILD_TREE_FOLDER, "in the repository's build")], ""


def _load() -> Tuple[ctypes.CDLL, ctypes.CDLL]:
    folders, explicit = _helper_folders()
    if explicit:
        try:
            ctypes.CDLL(explicit)
        except OSError as error:
            raise ImportError(f"VARNEL32_LIBRARY is {explicit!r}, which cannot be loaded: {error}") from None
    helper = next((folder / HELPER_NAME for folder, _ in folders if (folder / HELPER_NAME).is_file()), None)
    if helper is None:
        looked = "; ".join(f"{folder} ({what})" for folder, what in folders)
        unset = "" if explicit else " VARNEL32_LIBRARY is not set."
        raise ImportError(f"varnel32 cannot find {HELPER_NAME}, the binding's helper, which loads "
                          f"libvarnel32.so: it looked in {looked}.{unset} {_HOW_TO_POINT}")
    try:
        loaded_helper = ctypes.CDLL(str(helper))
        library = ctypes.CDLL(LIBRARY_SONAME)  # the one the helper has loaded
    except OSError as error:
        raise ImportError(f"varnel32's helper {helper} cannot load {LIBRARY_SONAME}, which it looks for beside "
                          f"itself, in the prefix it was installed into and where the system's loader looks "
                          f"(ldconfig, LD_LIBRARY_PATH): {error}. {_HOW_TO_POINT}") from None
    return _declare(library, _LIBRARY_SIGNATURES), _declare(loaded_helper, _HELPER_SIGNATURES)


library, helper = _load()


def _symbology_names() -> dict:
    names, number = {}, 0
    while (name := helper.VnbSymbologyName(number)) is not None:
        names[name.decode("ascii")] = number
        number += 1
    return names


SYMBOLOGIES = _symbology_names()
VERSION = helper.VnbVersion().decode("ascii")
