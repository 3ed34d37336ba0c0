"""Varnel32 barcodes from Python, over the shared library with ctypes.

    from varnel32 import Barcode, VarnelDataError

    Barcode(symbology="ean13", data="590123412345", addon="12").save("label.png")

A `Barcode` holds every setting of one picture; `save` writes it in the format its file name ends
with (.bmp, .wmf, .emf, .svg or .png). Data the symbology cannot carry raises `VarnelDataError`
with the library's message, a file that cannot be written raises `OSError`; neither touches the
file at the path.

The library is found through the VARNEL32_LIBRARY environment variable (the path of
libvarnel32.so), else beside this module or in the project's build/src folder, else by the system's
loader. Its settings are process-wide, so calls into it are serialised here. The symbologies' names
and the characters of the library's code page are in varnel32-symbologies.json and
varnel32-windows-1252.json, which the library's build writes beside it; copies beside this module
serve a library the system's loader finds.

Text is written in Windows-1252, the library's 8-bit text, as the library shows each byte: a
character with no byte there raises ValueError naming it. Bytes are passed on as they are.
"""

import ctypes
import ctypes.util
import dataclasses
import json
import os
import pathlib
import threading
from typing import Optional, Tuple, Union

__all__ = ["Barcode", "VarnelDataError", "SYMBOLOGIES", "FORMATS", "last_error"]


class VarnelDataError(ValueError):
    """The data (or add-on) cannot be drawn in the chosen symbology; the message says why."""


_FRAMES = {"none": 0, "dashed": 1, "solid": 2}
_CODABAR_CHARACTERS = "ABCD"
_ORIENTATIONS = {0: 0, 90: 1, 180: 2, 270: 3}

# The library's field sizes: longer texts would be cut without a word.
_MESSAGE_CAPACITY = 999
_FACE_NAME_CAPACITY = 31

Colour = Union[Tuple[int, int, int], str]


def _folded(name: str) -> str:
    return "".join(c for c in name.lower() if c not in "-_ ")


def _library_path() -> str:
    """The library's file, or the name the system's loader looks for."""
    explicit = os.environ.get("VARNEL32_LIBRARY")
    if explicit:
        return explicit
    here = pathlib.Path(__file__).resolve().parent
    for candidate in (here / "libvarnel32.so", here.parent / "build" / "src" / "libvarnel32.so"):
        if candidate.exists():
            return str(candidate)
    return ctypes.util.find_library("varnel32") or "libvarnel32.so.1"


def _read_build_list(library_path: str, name: str):
    """A list the library's build writes beside it from the library's own headers.

    The symbologies' names come from its catalogue (src/symbologies/catalogue.h) and the code
    page's characters from src/base/windows_1252.h, and from there alone: a copy kept here would
    drift from them, the library exports neither, and running the tool would make the binding need
    a program as well as the library. Written by the build that made the library, they describe
    that library. A library the system's loader finds has no folder known here, so a copy beside
    this module is looked for too.
    """
    folders = [pathlib.Path(__file__).resolve().parent]
    if os.path.dirname(library_path):
        folders.insert(0, pathlib.Path(library_path).parent)
    for folder in folders:
        listing = folder / name
        if listing.exists():
            return json.loads(listing.read_text(encoding="utf-8"))
    searched = " or ".join(str(folder) for folder in folders)
    raise ImportError(f"{name}, which the library's build writes, is not in {searched}")


def _windows_1252_bytes(high: list) -> dict:
    """Each character's byte: ASCII and Latin-1 from 0xA0 are their own code points, and the 32
    bytes from 0x80 are the characters the library shows them as (the five that Windows-1252 leaves
    unassigned as their own C1 controls, where Python's cp1252 codec has none)."""
    table = {code: code for code in (*range(0x80), *range(0xA0, 0x100))}
    table.update({character: 0x80 + offset for offset, character in enumerate(high)})
    return table


def _declare(library: ctypes.CDLL) -> ctypes.CDLL:
    c_int, c_double, c_char_p, vn_bool = ctypes.c_int, ctypes.c_double, ctypes.c_char_p, ctypes.c_ubyte
    signatures = {
        "VnSetDefault": (None, []),
        "VnSetSize": (None, [c_int, c_int]),
        "VnSetMessage": (None, [c_char_p]),
        "VnFontInfo": (None, [c_char_p, c_int]),
        "VnTextInfo": (None, [c_int, c_int, c_int]),
        "VnCodaBarInfo": (None, [c_int, c_int]),
        "VnUPCESystem": (None, [c_int]),
        "VnSupplementInfo": (None, [c_int, c_char_p, c_double]),
        "VnBasicInfo": (None, [c_int, c_double, c_double, c_int, c_int]),
        "VnSetSymbology": (None, [c_int]),
        "VnSetBackColor": (None, [c_int, c_int, c_int]),
        "VnSetBarColor": (None, [c_int, c_int, c_int]),
        "VnSetScreenResolution": (None, [c_int, c_int]),
        "VnSaveAsBMP": (vn_bool, [c_char_p]),
        "VnSaveAsWMF": (vn_bool, [c_char_p]),
        "VnSaveAsEMF": (vn_bool, [c_char_p]),
        "VnSaveAsSVG": (vn_bool, [c_char_p]),
        "VnSaveAsPNG": (vn_bool, [c_char_p]),
        "VnRenderToMemory": (c_int, [c_int, ctypes.c_void_p, c_int]),
        "VnMeasure": (vn_bool, [ctypes.POINTER(c_int), ctypes.POINTER(c_int)]),
        "VnGetLastError": (c_char_p, []),
    }
    for name, (result, arguments) in signatures.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = arguments
    return library


_library_file = _library_path()
_library = _declare(ctypes.CDLL(_library_file))
SYMBOLOGIES = _read_build_list(_library_file, "varnel32-symbologies.json")
_WINDOWS_1252 = _windows_1252_bytes(_read_build_list(_library_file, "varnel32-windows-1252.json"))
_WINDOWS_1252_TEXT = {byte: chr(code) for code, byte in _WINDOWS_1252.items()}
_SYMBOLOGIES_FOLDED = {_folded(name): number for name, number in SYMBOLOGIES.items()}
_lock = threading.Lock()

# File name endings and the exports that write them.
FORMATS = {
    ".bmp": _library.VnSaveAsBMP,
    ".wmf": _library.VnSaveAsWMF,
    ".emf": _library.VnSaveAsEMF,
    ".svg": _library.VnSaveAsSVG,
    ".png": _library.VnSaveAsPNG,
}
# The same formats as VnRenderToMemory numbers them (VN_FORMAT_BMP ... VN_FORMAT_PNG).
_MEMORY_FORMATS = {".bmp": 1, ".wmf": 2, ".emf": 3, ".svg": 4, ".png": 5}


def _text(message: bytes) -> str:
    return "".join(_WINDOWS_1252_TEXT[byte] for byte in message)


def last_error() -> str:
    """The library's message for the last picture it made, or "" when that picture drew its data."""
    with _lock:
        return _text(_library.VnGetLastError())


def _symbology_number(value: Union[str, int]) -> int:
    if isinstance(value, bool):
        raise ValueError(f"unknown symbology {value!r}")
    if isinstance(value, int):
        if 0 <= value < len(SYMBOLOGIES):
            return value
        raise ValueError(f"symbology number {value} is not 0..{len(SYMBOLOGIES) - 1}")
    number = _SYMBOLOGIES_FOLDED.get(_folded(str(value)))
    if number is None:
        raise ValueError(f"unknown symbology {value!r}; known: {', '.join(SYMBOLOGIES)}")
    return number


def _colour(value: Colour, what: str) -> Tuple[int, int, int]:
    if isinstance(value, str):
        text = value[1:] if value.startswith("#") else value
        if len(text) != 6 or any(c not in "0123456789abcdefABCDEF" for c in text):
            raise ValueError(f"{what} {value!r} is not #RRGGBB")
        return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))
    components = tuple(value)
    if len(components) != 3 or not all(isinstance(c, int) and 0 <= c <= 255 for c in components):
        raise ValueError(f"{what} {value!r} is not three components 0..255")
    return components


def _choice(value: Union[str, int], names, what: str) -> int:
    """A setting given by name or by the library's number for it."""
    if isinstance(value, str) and value.lower() in names:
        return names[value.lower()]
    if isinstance(value, int) and not isinstance(value, bool) and value in names.values():
        return value
    raise ValueError(f"{what} {value!r} is not one of {', '.join(names)}")


def _encoded(text: str, what: str) -> bytes:
    try:
        return bytes(_WINDOWS_1252[ord(c)] for c in text)
    except KeyError:
        c = next(c for c in text if ord(c) not in _WINDOWS_1252)
        raise ValueError(f"{what}: '{c}' (U+{ord(c):04X}) has no Windows-1252 byte, "
                         "which the library's text is made of") from None


def _bytes(value: Union[str, bytes], what: str, capacity: int) -> bytes:
    encoded = _encoded(value, what) if isinstance(value, str) else bytes(value)
    if b"\0" in encoded:
        raise ValueError(f"{what} cannot hold a NUL character")
    if len(encoded) > capacity:
        raise ValueError(f"{what} is longer than {capacity} bytes")
    return encoded


def _positive(value, what: str):
    if isinstance(value, bool) or not value > 0:
        raise ValueError(f"{what} must be above 0, not {value!r}")
    return value


@dataclasses.dataclass(frozen=True)
class Barcode:
    """One barcode picture. Arguments are checked and brought to one form when it is made, so a
    `Barcode` that exists can be drawn; `dataclasses.replace` makes variants.

    symbology: a name from SYMBOLOGIES (any case, with or without '-', '_' or spaces) or its number.
    data: str (written in Windows-1252, see the module's notes) or bytes, at most 999 bytes.
    width, height: the picture in pixels. narrow_cm, ratio: the narrow element and wide/narrow.
    orientation: 0, 90, 180 or 270 degrees counter-clockwise. frame: "none", "dashed", "solid".
    font, font_height: face name and cell height in pixels (negative: the em height).
    show_text, check_digit, check_in_text: the text, the optional check character, and whether
    the text shows it. codabar_start, codabar_stop: "A".."D". upce_system: 0 or 1.
    addon: None, or 2 or 5 characters for an EAN/UPC add-on; addon_gap_cm: its distance.
    bar_color, back_color: (r, g, b) or "#RRGGBB". dpi: the resolution, one value or (x, y).
    """

    symbology: Union[str, int] = "code128"
    data: Union[str, bytes] = "1234"
    width: int = 300
    height: int = 200
    narrow_cm: float = 0.07
    ratio: float = 2.0
    orientation: int = 0
    frame: Union[str, int] = "none"
    font: str = "Arial"
    font_height: int = 24
    show_text: bool = True
    check_digit: bool = False
    check_in_text: bool = False
    codabar_start: Union[str, int] = "A"
    codabar_stop: Union[str, int] = "B"
    upce_system: int = 0
    addon: Optional[Union[str, bytes]] = None
    addon_gap_cm: float = 0.5
    bar_color: Colour = (0, 0, 0)
    back_color: Colour = (255, 255, 255)
    dpi: Union[int, Tuple[int, int]] = 96

    def __post_init__(self):
        def normalise(field, value):
            object.__setattr__(self, field, value)

        normalise("symbology", _symbology_number(self.symbology))
        _bytes(self.data, "data", _MESSAGE_CAPACITY)
        for field in ("width", "height", "font_height", "upce_system"):
            if isinstance(getattr(self, field), bool) or not isinstance(getattr(self, field), int):
                raise ValueError(f"{field} must be a whole number, not {getattr(self, field)!r}")
        _positive(self.width, "width")
        _positive(self.height, "height")
        _positive(self.narrow_cm, "narrow_cm")
        _positive(self.ratio, "ratio")
        _positive(self.addon_gap_cm, "addon_gap_cm")
        if self.orientation not in _ORIENTATIONS or isinstance(self.orientation, bool):
            raise ValueError(f"orientation {self.orientation!r} is not 0, 90, 180 or 270")
        normalise("frame", _choice(self.frame, _FRAMES, "frame"))
        _bytes(self.font, "font", _FACE_NAME_CAPACITY)
        codabar = {c.lower(): i for i, c in enumerate(_CODABAR_CHARACTERS)}
        normalise("codabar_start", _CODABAR_CHARACTERS[_choice(self.codabar_start, codabar, "codabar_start")])
        normalise("codabar_stop", _CODABAR_CHARACTERS[_choice(self.codabar_stop, codabar, "codabar_stop")])
        if self.upce_system not in (0, 1):
            raise ValueError(f"upce_system {self.upce_system!r} is not 0 or 1")
        if self.addon is not None and len(_bytes(self.addon, "addon", 5)) not in (2, 5):
            raise ValueError(f"addon {self.addon!r} is not 2 or 5 characters")
        normalise("bar_color", _colour(self.bar_color, "bar_color"))
        normalise("back_color", _colour(self.back_color, "back_color"))
        dpi = (self.dpi, self.dpi) if isinstance(self.dpi, int) else tuple(self.dpi)
        if len(dpi) != 2 or not all(isinstance(d, int) and not isinstance(d, bool) and d >= 1 for d in dpi):
            raise ValueError(f"dpi {self.dpi!r} is not one or two whole numbers from 1")
        normalise("dpi", dpi)

    def save(self, path: Union[str, os.PathLike]) -> None:
        """Writes the picture in the format the path's ending names, replacing any file there.

        Raises VarnelDataError when the data is refused, OSError when the file cannot be written,
        ValueError for an ending that names no format; the file at the path is untouched then.
        """
        writer = self._writer(path)
        with _lock:
            self._refuse_bad_data()
            if not writer(os.fsencode(path)):
                raise OSError(f"cannot write {os.fspath(path)!r}")

    def to_bytes(self, format: str = ".png") -> bytes:
        """The file `save` would write for a path ending in `format`, as bytes.

        Raises VarnelDataError when the data is refused, MemoryError when the picture is too large
        for the format or for the memory there is, ValueError for a format it does not know.
        """
        suffix = (format if format.startswith(".") else "." + format).lower()
        if suffix not in _MEMORY_FORMATS:
            raise ValueError(f"{format!r} is not one of {', '.join(_MEMORY_FORMATS)}")
        with _lock:
            self._refuse_bad_data()
            # The first call renders and keeps the picture; the second copies it out.
            size = _library.VnRenderToMemory(_MEMORY_FORMATS[suffix], None, 0)
            picture = ctypes.create_string_buffer(size)
            if size == 0 or _library.VnRenderToMemory(_MEMORY_FORMATS[suffix], picture, size) != size:
                raise MemoryError(f"the {suffix} picture cannot be rendered into memory")
            return picture.raw

    @staticmethod
    def _writer(path):
        suffix = pathlib.PurePath(os.fsdecode(path)).suffix.lower()
        if suffix not in FORMATS:
            raise ValueError(f"{os.fspath(path)!r} does not end in one of {', '.join(FORMATS)}")
        return FORMATS[suffix]

    def _apply(self) -> None:
        library = _library
        library.VnSetDefault()
        library.VnSetScreenResolution(*self.dpi)
        library.VnSetSize(self.width, self.height)
        library.VnSetMessage(_bytes(self.data, "data", _MESSAGE_CAPACITY))
        library.VnBasicInfo(self.symbology, self.narrow_cm, self.ratio, _ORIENTATIONS[self.orientation], self.frame)
        library.VnSetSymbology(self.symbology)  # VnBasicInfo takes the classic numbers only
        library.VnFontInfo(_bytes(self.font, "font", _FACE_NAME_CAPACITY), self.font_height)
        library.VnTextInfo(int(self.show_text), int(self.check_digit), int(self.check_in_text))
        library.VnCodaBarInfo(_CODABAR_CHARACTERS.index(self.codabar_start), _CODABAR_CHARACTERS.index(self.codabar_stop))
        library.VnUPCESystem(self.upce_system)
        addon = b"" if self.addon is None else _bytes(self.addon, "addon", 5)
        library.VnSupplementInfo({0: 0, 2: 1, 5: 2}[len(addon)], addon, self.addon_gap_cm)
        library.VnSetBarColor(*self.bar_color)
        library.VnSetBackColor(*self.back_color)

    def _refuse_bad_data(self) -> None:
        """Sets the library to this barcode and has it validate the data without drawing anything,
        so that refused data is known before the file at the path is touched. Called with the lock
        held."""
        self._apply()
        if not _library.VnMeasure(None, None):
            raise VarnelDataError(_text(_library.VnGetLastError()))
