"""Varnel32 barcodes from Python, drawn as the `varnel` tool draws them.

    from varnel32 import Barcode

    Barcode(symbology="ean13", data="5901234123457", addon="12").save("label.png")
    png = Barcode(symbology="code128", data="Lot 7", x_dim="0.33mm", dpi=300).to_bytes("png")

A `Barcode` holds every option of one picture, by keyword, with the tool's defaults: the picture
fitted to the symbol, its quiet zones and its text; the check characters scanners expect; retail
numbers as people have them; text in ISO-8859-1. `to_bytes` and `write` render it in memory,
`save` writes a file whole or not at all, `to_image` gives a Pillow image, and a notebook shows it.
Refused data raises `VarnelDataError` with the library's message; wrong options raise ValueError or
TypeError naming the option.

Each barcode draws through a library context of its own, so barcodes can be drawn on many threads
at once. The library and the binding's helper are found inside the package once it is installed
with pip; see `_native` for where else they are looked for, and VARNEL32_LIBRARY to name one.
`__version__` is the library's version, which the helper is built with.
"""

from ._barcode import Barcode
from ._errors import VarnelDataError, VarnelWarning
from ._native import SYMBOLOGIES
from ._native import VERSION as __version__
from ._rendering import FORMATS, last_error

__all__ = ["Barcode", "VarnelDataError", "VarnelWarning", "SYMBOLOGIES", "FORMATS", "last_error"]
