"""The Barcode: one picture's options, and the picture in memory, in a file, or as an image."""

import ctypes
import dataclasses
import errno
import io
import os
import pathlib
from typing import TYPE_CHECKING, BinaryIO, Optional, Tuple, Union

from . import _native, _options, _rendering

if TYPE_CHECKING:
    import PIL.Image

__all__ = ["Barcode"]


def _restored(cls, settings: dict) -> "Barcode":
    return cls(**settings)


@dataclasses.dataclass(frozen=True)
class Barcode:
    """One barcode picture, drawn as the `varnel` tool draws it from the same options.

    Options are checked and brought to one form when the barcode is made, so a `Barcode` that
    exists can be drawn unless the library refuses its data; `dataclasses.replace` makes variants.
    A wrong kind of value raises TypeError and a value out of range ValueError, naming the option;
    text or a retail number the library cannot take raises VarnelDataError.

    symbology: a name of SYMBOLOGIES (any case, with or without '-', '_' or spaces) or its number.
    data: text, written in ISO-8859-1, which readers decode, as the tool writes it (a character
        outside it is refused, and so is empty data), or bytes, passed to the library as they are.
        Retail numbers as people have them: EAN-13 with 13 digits, UPC-A with 12, an ISBN's 10
        digits or its 978 number, UPC-E as printed (6, 7 or 8 digits) or its 11-digit UPC-A number;
        a wrong check digit is refused. SSCC-18 takes 17 digits and AI 01 13, adding the check
        digit, or 18 and 14 ending in the right one.
    width, height: the picture in pixels; neither (the default) for the symbol, its quiet zones and
        its text, and nothing more. quiet_zone: narrow widths before and after the bars instead of
        the symbology's own.
    narrow_cm: the narrow element in centimetres as the library takes them (truncated to whole
        pixels); x_dim: instead, a print size met in whole pixels at `dpi`, such as "0.33mm"
        (mm, cm, in or px). ratio: wide over narrow. bar_height: pixels, or a length such as "15mm"
        (default 1.5 cm).
    orientation: 0, 90, 180 or 270 degrees counter-clockwise. frame: "none", "dashed", "solid".
    font, font_height: the text's face, and its cell in pixels or as a length such as "9pt"; None
        (the default) for 9 pt for EAN and UPC and 10 pt for the others at `dpi`, 24 pixels at least.
    show_text: the text under the bars. check_digit: the optional check character; None (the
        default) draws it where scanners expect it (Code 93, SSCC-18, AI 01). check_in_text: the
        text shows it. codabar_start, codabar_stop: "A".."D". upce_system: 0 or 1; None takes it
        from the number, else 0.
    addon: 2 or 5 digits of an EAN/UPC add-on; addon_gap_cm: its distance from the symbol, None (the
        default) for the 9 narrow widths readers look for.
    bar_color, back_color: (r, g, b) or "#RRGGBB". transparent: PNG and SVG leave the background
        unpainted. dpi: the resolution, one value or (x, y).
    """

    symbology: Union[str, int] = "code128"
    data: Union[str, bytes] = "1234"
    width: Optional[int] = None
    height: Optional[int] = None
    narrow_cm: float = 0.07
    ratio: float = 2.0
    orientation: int = 0
    frame: Union[str, int] = "none"
    font: Union[str, bytes] = "Arial"
    font_height: Optional[Union[int, str]] = None
    show_text: bool = True
    check_digit: Optional[bool] = None
    check_in_text: bool = False
    codabar_start: Union[str, int] = "A"
    codabar_stop: Union[str, int] = "B"
    upce_system: Optional[int] = None
    addon: Optional[Union[str, bytes]] = None
    addon_gap_cm: Optional[float] = None
    bar_color: _options.Colour = (0, 0, 0)
    back_color: _options.Colour = (255, 255, 255)
    dpi: Union[int, Tuple[int, int]] = 96
    quiet_zone: Optional[int] = None
    x_dim: Optional[str] = None
    bar_height: Optional[Union[int, str]] = None
    transparent: bool = False

    def __post_init__(self) -> None:
        def normalise(field: str, value) -> None:
            object.__setattr__(self, field, value)

        normalise("symbology", _options.symbology(self.symbology))
        normalise("frame", _options.choice(self.frame, _options.FRAMES, "frame"))
        codabar = {c.lower(): i for i, c in enumerate(_options.CODABAR_CHARACTERS)}
        for field in ("codabar_start", "codabar_stop"):
            normalise(field, _options.CODABAR_CHARACTERS[_options.choice(getattr(self, field), codabar, field)])
        normalise("bar_color", _options.colour(self.bar_color, "bar_color"))
        normalise("back_color", _options.colour(self.back_color, "back_color"))
        normalise("dpi", _options.dpi(self.dpi))

        description = _options.describe(self)
        _options.check_data(description)
        # A reference, as the helper takes it, which keeps the description and its texts alive.
        normalise("_description", ctypes.byref(description))
        normalise("_engine", _rendering.Engine())

    def _settings(self) -> dict:
        return {f.name: getattr(self, f.name) for f in dataclasses.fields(self)}

    def __reduce__(self):
        # A copy or an unpickled barcode is made anew, with a library context of its own.
        return (_restored, (type(self), self._settings()))

    def __repr__(self) -> str:
        # The symbology and the frame by their names, which say what they are where their numbers
        # do not; the text makes the same barcode again.
        settings = {**self._settings(), "symbology": _native.helper.VnbSymbologyName(self.symbology).decode("ascii"),
                    "frame": list(_options.FRAMES)[self.frame]}
        return f"{type(self).__name__}({', '.join(f'{name}={value!r}' for name, value in settings.items())})"

    def to_bytes(self, format: str = "png") -> bytes:
        """The picture as the file the tool writes: "bmp", "wmf", "emf", "svg" or "png" (a leading
        dot and any case will do). Rendered in memory, once a call.

        Raises VarnelDataError when the library refuses the data, MemoryError when the picture is
        too large for the format or for the memory there is.
        """
        ending = _rendering.format_ending(format)
        _rendering.check_transparency(ending, self.transparent)
        return self._engine.draw(self._description, self.dpi, _rendering.MEMORY_OUTPUTS[ending])

    def save(self, path: Union[str, bytes, os.PathLike], format: Optional[str] = None) -> None:
        """Writes the picture to the file at `path`, in `format`, else the one the path's ending names.

        The file is written whole by the library before it takes the path's name, so a failure
        leaves any old file as it was: refused data raises VarnelDataError, a file that cannot be
        written OSError (PermissionError, FileNotFoundError, ...).
        """
        if not isinstance(path, (str, bytes, os.PathLike)):
            raise TypeError(f"path must be a str, bytes or os.PathLike, not {type(path).__name__} {path!r}")
        if not os.fspath(path):
            raise ValueError("path is empty")
        if format is None:
            suffix = pathlib.PurePath(os.fsdecode(path)).suffix
            if suffix.lower() not in _rendering.FORMATS:
                raise ValueError(f"{os.fsdecode(path)!r} does not end in one of {', '.join(_rendering.FORMATS)}: "
                                 "give format=")
            format = suffix
        ending = _rendering.format_ending(format)
        _rendering.check_transparency(ending, self.transparent)
        self._engine.draw(self._description, self.dpi, _rendering.file_output(ending, path))

    def write(self, file: BinaryIO, format: Optional[str] = None) -> None:
        """Writes the picture into a file object opened for bytes ("wb", io.BytesIO, a socket's
        file, an HTTP response): in `format`, else the one its name ends with, else PNG.

        The picture is rendered in full before the first byte is written, so refused data
        (VarnelDataError) writes nothing. A file object opened in text mode raises TypeError.
        """
        if isinstance(file, io.TextIOBase):
            raise TypeError("file is opened in text mode; a picture is bytes: open it with 'wb'")
        write = getattr(file, "write", None)
        if not callable(write):
            raise TypeError(f"file must be a file object opened for bytes, not {type(file).__name__}")
        if format is None:
            name = getattr(file, "name", None)
            suffix = pathlib.PurePath(name).suffix.lower() if isinstance(name, str) else ""
            format = suffix if suffix in _rendering.FORMATS else "png"
        picture = memoryview(self.to_bytes(format))
        while picture:
            written = write(picture)
            # A buffered file takes it all; a raw one may take part, or none (None) when it would block.
            if written is None and not isinstance(file, io.RawIOBase):
                return
            if not written:
                raise BlockingIOError(errno.EAGAIN, "the file took none of the picture's remaining "
                                      f"{len(picture)} bytes")
            picture = picture[written:]

    def to_image(self) -> "PIL.Image.Image":
        """The picture as a Pillow image (its PNG, decoded): a palette image of the bar and
        background colours. Needs Pillow: pip install 'varnel32[image]'."""
        try:
            from PIL import Image
        except ImportError as error:
            raise ImportError("Barcode.to_image needs Pillow, which is not installed: pip install 'varnel32[image]' "
                              "(or, on Debian, apt install python3-pil)") from error
        image = Image.open(io.BytesIO(self.to_bytes("png")))
        image.load()
        return image

    def _repr_png_(self) -> bytes:
        """Jupyter shows the barcode as its picture."""
        return self.to_bytes("png")

    def _repr_svg_(self) -> str:
        return self.to_bytes("svg").decode("utf-8")
