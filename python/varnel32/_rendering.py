"""Drawing a described barcode through a library context of its own, into memory or into a file.

Each barcode has its own context, so barcodes draw on many threads at once; one barcode's context
is used by one thread at a time. The library's calls release the GIL while they draw. The screen
resolution is the one setting the library keeps for the whole process, so barcodes of different
resolutions take turns (ResolutionGate); those of the same one draw together.
"""

import collections
import ctypes
import os
import threading
import warnings
import weakref
from typing import Callable, Tuple, TypeVar

from . import _native, _options
from ._errors import VarnelDataError, VarnelWarning

# The formats as VnRenderToMemory numbers them (VN_FORMAT_BMP ... VN_FORMAT_PNG), by file ending.
FORMATS = {".bmp": 1, ".wmf": 2, ".emf": 3, ".svg": 4, ".png": 5}
_TRANSPARENT_FORMATS = (".svg", ".png")
_SAVERS = {
    ".bmp": _native.library.VnCtxSaveAsBMP,
    ".wmf": _native.library.VnCtxSaveAsWMF,
    ".emf": _native.library.VnCtxSaveAsEMF,
    ".svg": _native.library.VnCtxSaveAsSVG,
    ".png": _native.library.VnCtxSaveAsPNG,
}
_MESSAGE_SIZE = 1024
# The usual spellings of each format, looked up before the rule that reads any.
_ENDINGS = {spelling: ending for ending in FORMATS for spelling in (ending, ending[1:], ending[1:].upper())}

_last = threading.local()
Result = TypeVar("Result")


def last_error() -> str:
    """The refusal of the last picture this thread asked for, or "" when it drew its data."""
    return getattr(_last, "error", "")


def format_ending(value) -> str:
    """A format as its file ending, ".png", from "png", ".png" or "PNG"."""
    known = _ENDINGS.get(value) if isinstance(value, str) else None
    if known:
        return known
    if not isinstance(value, str):
        raise TypeError(f"format must be one of {', '.join(f[1:] for f in FORMATS)}, not "
                        f"{type(value).__name__} {value!r}")
    ending = (value if value.startswith(".") else "." + value).lower()
    if ending not in FORMATS:
        raise ValueError(f"format {value!r} is not one of {', '.join(f[1:] for f in FORMATS)}")
    return ending


class ResolutionGate:
    """Lets renders of one resolution in at a time, any number of them together.

    A render of another resolution waits for those drawing to finish; renders that come after it
    wait behind it, so that a steady stream of one resolution does not keep another out. When the
    last render leaves, the resolution of the longest waiting one is let in, with every waiting
    render of that resolution.
    """

    def __init__(self):
        self._lock = threading.Lock()
        self._dpi = None
        self._drawing = 0
        self._queue = collections.deque()  # (dpi, a lock held until that render is let in)

    def enter(self, dpi: Tuple[int, int]) -> None:
        with self._lock:
            if not self._queue and (self._drawing == 0 or self._dpi == dpi):
                self._dpi = dpi
                self._drawing += 1
                return
            entry = (dpi, threading.Lock())
            entry[1].acquire()
            self._queue.append(entry)
        try:
            entry[1].acquire()
        except BaseException:
            with self._lock:
                if entry not in self._queue:  # let in meanwhile: it is counted as drawing
                    self._leave_locked()
                else:
                    self._queue.remove(entry)
            raise

    def leave(self) -> None:
        with self._lock:
            self._leave_locked()

    def _leave_locked(self) -> None:
        self._drawing -= 1
        if self._drawing or not self._queue:
            return
        self._dpi = self._queue[0][0]
        admitted = [entry for entry in self._queue if entry[0] == self._dpi]
        self._queue = collections.deque(entry for entry in self._queue if entry[0] != self._dpi)
        self._drawing = len(admitted)
        for _, waiting in admitted:
            waiting.release()


_gate = ResolutionGate()


class Engine:
    """The library context that one barcode draws with, made at its first picture and destroyed
    with the engine. Its lock keeps the context to one thread at a time."""

    __slots__ = ("lock", "_context", "message", "_width", "_height", "sizes", "length", "length_reference",
                 "__weakref__")

    def __init__(self):
        self.lock = threading.Lock()
        self._context = None

    def _made_context(self) -> int:
        context = _native.library.VnCreateContext()
        if not context:
            raise MemoryError("the library cannot have the memory for a context")
        self.message = ctypes.create_string_buffer(_MESSAGE_SIZE)
        self._width, self._height, self.length = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        self.sizes = (ctypes.byref(self._width), ctypes.byref(self._height))
        self.length_reference = ctypes.byref(self.length)
        weakref.finalize(self, _native.library.VnDestroyContext, context)
        self._context = context
        return context

    def picture_size(self) -> Tuple[int, int]:
        return self._width.value, self._height.value

    def draw(self, description: "ctypes._CArgObject", dpi: Tuple[int, int], output: "Output") -> Result:
        """Has `output` set the barcode (a reference to its description) on the context and draw it.

        Raises VarnelDataError, with the library's message, when the data is refused: nothing is
        drawn then. Warns (VarnelWarning) as the tool does of a picture drawn all the same, naming
        the keywords where the tool names its options.
        """
        with self.lock:
            context = self._context or self._made_context()
            _gate.enter(dpi)
            try:
                drawn, result = output(self, context, description)
                message = self.message.value.decode("utf-8", "replace") if self.message[0] != b"\0" else ""
                _last.error = "" if drawn == 1 else message
                if drawn != 1:
                    raise VarnelDataError(message)
            finally:
                _gate.leave()
        for warning in message.splitlines():
            warnings.warn(_options.in_keywords(warning), VarnelWarning, stacklevel=3)
        return result


# An output sets the barcode on an engine's context, then draws it when the data is drawn, in one
# step: output(engine, context, description) gives the set-up's answer (VnbSetUp's) and the
# output's result, None when the data is refused.
Output = Callable[[Engine, int, "ctypes._CArgObject"], Tuple[int, Result]]


class _PictureBuffer(threading.local):
    """The buffer each thread renders into, kept for its next picture, as pictures come in much the
    same sizes: one call sets up, renders and copies, where a buffer of the picture's size would
    take a call to learn the size first. A picture too large for it is kept by the library and
    copied out by a second call, into a buffer of its own; the thread keeps that one too unless it
    is large."""

    INITIAL_SIZE = 64 * 1024
    LARGEST_KEPT = 1024 * 1024

    def __init__(self):
        self.buffer = ctypes.create_string_buffer(self.INITIAL_SIZE)


_buffers = _PictureBuffer()


def _memory_output(ending: str) -> Output:
    """Renders the picture into memory, once, and gives its bytes."""
    format_number = FORMATS[ending]
    set_up_and_render = _native.helper.VnbRenderToMemory

    def render(engine: Engine, context: int, description) -> Tuple[int, bytes]:
        buffer = _buffers.buffer
        drawn = set_up_and_render(context, description, format_number, buffer, len(buffer), *engine.sizes,
                                  engine.length_reference, engine.message, _MESSAGE_SIZE)
        if drawn != 1:
            return drawn, None
        length = engine.length.value
        if length > len(buffer):
            buffer = ctypes.create_string_buffer(length)
            if length <= _PictureBuffer.LARGEST_KEPT:
                _buffers.buffer = buffer
            length = _native.library.VnCtxRenderToMemory(context, format_number, buffer, length)
        if length <= 0:
            width, height = engine.picture_size()
            raise MemoryError(f"the {ending[1:].upper()} picture of {width}x{height} pixels cannot be rendered: "
                              "it is too large for the format or for the memory there is")
        return drawn, buffer[:length]  # a slice of a char array is its bytes, copied

    return render


MEMORY_OUTPUTS = {ending: _memory_output(ending) for ending in FORMATS}


def file_output(ending: str, path) -> Output:
    """Saves the picture with the library's own file export, which writes a complete file or leaves
    the old one as it was."""
    saver = _SAVERS[ending]
    encoded = os.fsencode(path)

    def save(engine: Engine, context: int, description) -> Tuple[int, None]:
        drawn = _native.helper.VnbSetUp(context, description, *engine.sizes, engine.message, _MESSAGE_SIZE)
        if drawn != 1:
            return drawn, None
        if not saver(context, encoded):
            # The library's own number for why, of which Python makes IsADirectoryError, ...
            code = _native.library.VnCtxGetLastSaveError(context)
            raise OSError(code, os.strerror(code), path)
        return drawn, None

    return save


def check_transparency(ending: str, transparent: bool) -> None:
    if transparent and ending not in _TRANSPARENT_FORMATS:
        raise ValueError(f"transparent is for PNG and SVG, not {ending[1:].upper()}")
