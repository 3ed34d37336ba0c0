"""A barcode's options checked and brought to one form, and turned into the helper's description.

A value of the wrong kind (a string for a number, None for the data) raises TypeError, a value of
the right kind out of its range (a negative width, NaN, an unknown name) raises ValueError; both
name the option. Text and retail numbers the library cannot take raise VarnelDataError, with the
tool's message.
"""

import ctypes
import math
import numbers
import re
from typing import Optional, Tuple, Union

from . import _native
from ._errors import VarnelDataError

_INT_MAX = 2**31 - 1
FRAMES = {"none": 0, "dashed": 1, "solid": 2}
CODABAR_CHARACTERS = "ABCD"
ORIENTATIONS = {0: 0, 90: 1, 180: 2, 270: 3}
# The library's face name field; a longer name would be cut without a word.
_FACE_NAME_CAPACITY = 31
_ADD_ON_LENGTHS = (2, 5)
_MESSAGE_SIZE = 1024

Colour = Union[Tuple[int, int, int], str]

# The tool's options as a Barcode's keywords say them. The tool's step words its warnings in the
# tool's options, and the binding shares the step: its warnings are read with this table, so that
# one the step adds later names the keyword too. Every option a Barcode has is here.
TOOL_OPTIONS = {
    "--symbology": "symbology", "--raw": "bytes data", "--size": "width and height", "--quiet-zone": "quiet_zone",
    "--x-dim": "x_dim", "--narrow": "narrow_cm", "--bar-height": "bar_height", "--ratio": "ratio",
    "--orientation": "orientation", "--frame": "frame", "--font": "font", "--font-height": "font_height",
    "--text": "show_text=True", "--no-text": "show_text=False", "--check": "check_digit=True",
    "--no-check": "check_digit=False", "--check-in-text": "check_in_text=True", "--start": "codabar_start",
    "--stop": "codabar_stop", "--upce-system": "upce_system", "--addon": "addon", "--addon-gap": "addon_gap_cm",
    "--bar-color": "bar_color", "--background-color": "back_color", "--transparent": "transparent=True",
    "--dpi": "dpi",
}
_TOOL_OPTION = re.compile(r"--[a-z][a-z-]*[a-z]")


def in_keywords(message: str) -> str:
    """A warning of the tool's step with the binding's keywords in place of the tool's options."""
    return _TOOL_OPTION.sub(lambda option: TOOL_OPTIONS.get(option.group(), option.group()), message)


def _kind(value) -> str:
    return f"{type(value).__name__} {value!r}"


def whole(value, name: str, lowest: int, highest: int = _INT_MAX) -> int:
    """A whole number from `lowest` to `highest`."""
    if type(value) is not int:  # a plain int needs none of the slower checks of kinds of number
        if isinstance(value, bool) or (isinstance(value, numbers.Real) and not isinstance(value, numbers.Integral)):
            raise ValueError(f"{name} must be a whole number, not {value!r}")
        if not isinstance(value, numbers.Integral):
            raise TypeError(f"{name} must be a whole number, not {_kind(value)}")
    if not lowest <= value <= highest:
        raise ValueError(f"{name} must be from {lowest} to {highest}, not {value!r}")
    return int(value)


def positive(value, name: str) -> float:
    """A finite number above 0."""
    if type(value) is not float:
        if isinstance(value, bool):
            raise ValueError(f"{name} must be a number above 0, not {value!r}")
        if not isinstance(value, numbers.Real):
            raise TypeError(f"{name} must be a number above 0, not {_kind(value)}")
    if not (math.isfinite(value) and value > 0):
        raise ValueError(f"{name} must be a finite number above 0, not {value!r}")
    return float(value)


def switch(value, name: str) -> bool:
    if not isinstance(value, bool):
        raise TypeError(f"{name} must be True or False, not {_kind(value)}")
    return value


def _utf8(text: str, name: str) -> bytes:
    try:
        return text.encode("utf-8")
    except UnicodeEncodeError as error:
        raise VarnelDataError(f"{name}: {text[error.start]!r} (U+{ord(text[error.start]):04X}) is a lone surrogate, "
                              "not a character") from None


def symbology(value: Union[str, int]) -> int:
    """A symbology number from its name (any case, with or without '-', '_' or spaces) or number."""
    if isinstance(value, str):
        number = -1 if "\0" in value else _native.helper.VnbFindSymbology(_utf8(value, "symbology"))
        if number < 0:
            raise ValueError(f"unknown symbology {value!r}; known: {', '.join(_native.SYMBOLOGIES)}")
        return number
    if isinstance(value, bool) or not isinstance(value, numbers.Integral):
        raise (ValueError if isinstance(value, (bool, numbers.Real)) else TypeError)(
            f"symbology must be a name or number of SYMBOLOGIES, not {_kind(value)}")
    return whole(value, "symbology", 0, len(_native.SYMBOLOGIES) - 1)


def orientation(value: int) -> int:
    """Degrees counter-clockwise as the library's orientation 0..3."""
    degrees = whole(value, "orientation", 0, 270)
    if degrees not in ORIENTATIONS:
        raise ValueError(f"orientation {value!r} is not 0, 90, 180 or 270")
    return ORIENTATIONS[degrees]


def choice(value: Union[str, int], names: dict, name: str) -> int:
    """A setting given by name or by the library's number for it."""
    if isinstance(value, str) and value.lower() in names:
        return names[value.lower()]
    if isinstance(value, numbers.Integral) and not isinstance(value, bool) and value in names.values():
        return int(value)
    if not isinstance(value, (str, numbers.Real)):
        raise TypeError(f"{name} must be one of {', '.join(names)}, not {_kind(value)}")
    raise ValueError(f"{name} {value!r} is not one of {', '.join(names)}")


def colour(value: Colour, name: str) -> Tuple[int, int, int]:
    if isinstance(value, str):
        text = value[1:] if value.startswith("#") else value
        if len(text) != 6 or any(c not in "0123456789abcdefABCDEF" for c in text):
            raise ValueError(f"{name} {value!r} is not #RRGGBB")
        return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))
    if not isinstance(value, (tuple, list)):
        raise TypeError(f"{name} must be '#RRGGBB' or (red, green, blue), not {_kind(value)}")
    if len(value) != 3:
        raise ValueError(f"{name} {value!r} is not three components 0..255")
    return tuple(whole(c, name, 0, 255) for c in value)


def dpi(value: Union[int, Tuple[int, int]]) -> Tuple[int, int]:
    """One resolution for both directions, or (horizontal, vertical)."""
    pair = value if isinstance(value, (tuple, list)) else (value, value)
    if len(pair) != 2:
        raise ValueError(f"dpi {value!r} is not one or two whole numbers from 1")
    return (whole(pair[0], "dpi", 1), whole(pair[1], "dpi", 1))


def text_bytes(value: Union[str, bytes], name: str) -> Tuple[bytes, bool]:
    """The bytes of data or an add-on, and whether they are the library's own (bytes) rather than
    UTF-8 text for the tool's rules to turn into ISO-8859-1."""
    if isinstance(value, str):
        encoded, raw = _utf8(value, name), False
    elif isinstance(value, (bytes, bytearray)):
        encoded, raw = bytes(value), True
    else:
        raise TypeError(f"{name} must be str, or bytes for the library's own bytes, not {_kind(value)}")
    if len(encoded) > _INT_MAX:
        raise VarnelDataError(f"{name} is {len(encoded)} bytes long, far beyond what the library takes")
    return encoded, raw


def add_on(value: Optional[Union[str, bytes]]) -> bytes:
    """An EAN/UPC add-on's characters as the tool takes them: b"" for none."""
    if value is None:
        return b""
    text, raw = text_bytes(value, "addon")
    if raw:
        # The library's bytes for the tool's text: an add-on takes digits only, and any other byte
        # is refused by the library all the same.
        text = text.decode("latin-1").encode("utf-8")
    if b"\0" in text:
        raise ValueError("addon cannot hold a NUL character")
    if text and len(text.decode("utf-8")) not in _ADD_ON_LENGTHS:
        raise ValueError(f"addon {value!r} is not 2 or 5 characters")
    return text


def font_face(value: Union[str, bytes]) -> bytes:
    face = _utf8(value, "font") if isinstance(value, str) else value
    if not isinstance(face, bytes):
        raise TypeError(f"font must be a face name, not {_kind(value)}")
    if b"\0" in face or len(face) > _FACE_NAME_CAPACITY:
        raise ValueError(f"font {value!r} is not a face name of at most {_FACE_NAME_CAPACITY} bytes without NUL")
    return face


# The units each kind of length takes.
_UNITS = {_native.VNB_NARROW_WIDTH: "mm, cm, in or px", _native.VNB_FONT_HEIGHT: "pt, mm, cm, in or px",
          _native.VNB_BAR_HEIGHT: "mm, cm, in or px"}


def length(value: Optional[str], name: str, example: str, kind: int = _native.VNB_NARROW_WIDTH) -> _native.Length:
    """A length as the tool reads one, a number and its unit with nothing between."""
    if value is None:
        return _native.Length(0.0, _native.VNB_NO_LENGTH)
    if not isinstance(value, str):
        raise TypeError(f"{name} must be a length with its unit, such as {example!r}, not {_kind(value)}")
    parsed = _native.Length()
    if "\0" in value or not _native.helper.VnbParseLength(_utf8(value, name), kind, ctypes.byref(parsed)):
        raise ValueError(f"{name} {value!r} is not a length: a number above 0 and its unit ({_UNITS[kind]}), "
                         f"such as {example!r}")
    return parsed


def pixels_or_length(value: Union[int, str], name: str, example: str, kind: int) -> _native.Length:
    """Pixels, or a length (such as `example`) met in whole pixels at the resolution."""
    if isinstance(value, str):
        return length(value, name, example, kind)
    return _native.Length(whole(value, name, 1), _native.VNB_PIXELS)


def bar_height(value: Optional[Union[int, str]]) -> _native.Length:
    """The library's 1.5 cm for None."""
    if value is None:
        return length(None, "bar_height", "15mm")
    return pixels_or_length(value, "bar_height", "15mm", _native.VNB_BAR_HEIGHT)


def font_height(value: Optional[Union[int, str]]) -> _native.Length:
    """None for the symbology's print size."""
    if value is None:
        return length(None, "font_height", "9pt")
    return pixels_or_length(value, "font_height", "9pt", _native.VNB_FONT_HEIGHT)


def picture_size(width: Optional[int], height: Optional[int]) -> Tuple[int, int]:
    """(0, 0) for the fitted picture."""
    if (width is None) != (height is None):
        raise ValueError("width and height go together: give both, or neither for the fitted picture")
    if width is None:
        return (0, 0)
    return (whole(width, "width", 1), whole(height, "height", 1))


def describe(barcode) -> _native.Description:
    """The helper's description of a Barcode whose choices are already brought to one form: its
    symbology, frame and Codabar characters, colours and resolution. Checks each other option."""
    data, raw = text_bytes(barcode.data, "data")
    addon = add_on(barcode.addon)
    width, height = picture_size(barcode.width, barcode.height)
    return _native.Description(
        symbology=barcode.symbology, data=data, dataSize=len(data), raw=raw, addOn=addon, addOnSize=len(addon),
        width=width, height=height,
        quietZone=-1 if barcode.quiet_zone is None else whole(barcode.quiet_zone, "quiet_zone", 0),
        narrowWidthCm=positive(barcode.narrow_cm, "narrow_cm"),
        xDimension=length(barcode.x_dim, "x_dim", "0.33mm"),
        barHeight=bar_height(barcode.bar_height),
        fontHeight=font_height(barcode.font_height),
        wideRatio=positive(barcode.ratio, "ratio"),
        orientation=orientation(barcode.orientation),
        frame=barcode.frame,
        fontFace=font_face(barcode.font),
        showText=switch(barcode.show_text, "show_text"),
        checkCharacter=-1 if barcode.check_digit is None else int(switch(barcode.check_digit, "check_digit")),
        checkCharacterInText=switch(barcode.check_in_text, "check_in_text"),
        codabarStart=CODABAR_CHARACTERS.index(barcode.codabar_start),
        codabarStop=CODABAR_CHARACTERS.index(barcode.codabar_stop),
        upceSystem=-1 if barcode.upce_system is None else whole(barcode.upce_system, "upce_system", 0, 1),
        addOnGapCm=0.0 if barcode.addon_gap_cm is None else positive(barcode.addon_gap_cm, "addon_gap_cm"),
        barColor=barcode.bar_color,
        backColor=barcode.back_color,
        transparentBackground=switch(barcode.transparent, "transparent"),
        dpiX=barcode.dpi[0],
        dpiY=barcode.dpi[1])


def check_data(description: _native.Description) -> None:
    """Raises VarnelDataError when the data or add-on cannot become the library's."""
    message = ctypes.create_string_buffer(_MESSAGE_SIZE)
    if not _native.helper.VnbCheckData(ctypes.byref(description), message, _MESSAGE_SIZE):
        raise VarnelDataError(message.value.decode("utf-8", "replace"))
