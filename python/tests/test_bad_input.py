"""Bad input is refused with a typed exception that names what is wrong, never with a crash and
never with a partial file: options of the wrong kind or out of range, data that is not text, very
long or NaN, unknown formats, file objects opened for text, paths that cannot be written."""

import ctypes
import io
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import varnel32
from varnel32 import Barcode, VarnelDataError, _native, _options

NAN, INFINITY = float("nan"), float("inf")

# Each option with a value of the wrong kind (TypeError) or out of its range (ValueError); the
# message names the option.
BAD_OPTIONS = [
    ("data", None, TypeError), ("data", 5901234123457, TypeError), ("data", ["1234"], TypeError),
    ("symbology", None, TypeError), ("symbology", 2.5, ValueError), ("symbology", "code 49", ValueError),
    ("symbology", "code128\0", ValueError), ("symbology", -1, ValueError),
    ("width", NAN, ValueError), ("width", "300", TypeError), ("width", 2**31, ValueError), ("width", 0, ValueError),
    ("narrow_cm", NAN, ValueError), ("narrow_cm", INFINITY, ValueError), ("narrow_cm", "0.07", TypeError),
    ("narrow_cm", None, TypeError), ("ratio", NAN, ValueError), ("ratio", 0, ValueError),
    ("addon_gap_cm", -0.5, ValueError), ("addon_gap_cm", True, ValueError),
    ("x_dim", 0.33, TypeError), ("x_dim", "0.33", ValueError), ("x_dim", "nanmm", ValueError),
    ("x_dim", "0.33 mm", ValueError), ("x_dim", "-1mm", ValueError), ("x_dim", "0.33mm\0", ValueError),
    ("bar_height", "15pt", ValueError), ("bar_height", 0, ValueError), ("bar_height", "infcm", ValueError),
    ("font_height", 0, ValueError), ("font_height", "9 pt", ValueError), ("font_height", [9], TypeError),
    ("font_height", 9.5, ValueError), ("dpi", NAN, ValueError), ("dpi", "96", TypeError), ("dpi", (96,), ValueError),
    ("dpi", (96, None), TypeError), ("quiet_zone", -1, ValueError), ("quiet_zone", "10", TypeError),
    ("show_text", "no", TypeError), ("check_digit", "yes", TypeError), ("check_in_text", 1, TypeError),
    ("transparent", None, TypeError), ("orientation", None, TypeError), ("orientation", 45, ValueError),
    ("orientation", 90.0, ValueError), ("frame", None, TypeError), ("frame", "dotted", ValueError),
    ("bar_color", None, TypeError), ("bar_color", "red", ValueError), ("back_color", (0, 0, NAN), ValueError),
    ("font", 5, TypeError), ("font", "Arial\0", ValueError), ("addon", 12, TypeError), ("addon", "123", ValueError),
    ("addon", "1\0", ValueError), ("upce_system", 2, ValueError), ("upce_system", "0", TypeError),
    ("codabar_start", None, TypeError), ("codabar_stop", "E", ValueError),
]

# Fields of descriptions that the binding never makes, out of range, for its helper, which names them.
BAD_DESCRIPTIONS = [
    ("symbology", 10**6), ("symbology", -1), ("data", None), ("fontHeight", _native.Length(0, _native.VNB_PIXELS)),
    ("xDimension", _native.Length(1, 99)), ("fontFace", None), ("orientation", 7), ("wideRatio", NAN), ("dpiY", 0),
]


class BadInputTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="varnel32-bad-")
        self.addCleanup(shutil.rmtree, self.folder)

    def path(self, name):
        return os.path.join(self.folder, name)

    def installed_package(self):
        """A copy of the package with the library and its helper inside it, as pip installs it: the
        folder to put on the path."""
        library = os.environ.get("VARNEL32_LIBRARY")
        if not library:
            self.skipTest("VARNEL32_LIBRARY names no built library")
        package = os.path.join(self.folder, "site", "varnel32")
        shutil.copytree(os.path.dirname(varnel32.__file__), package, ignore=shutil.ignore_patterns("__pycache__"))
        shutil.copy(os.path.realpath(library), os.path.join(package, "libvarnel32.so.1"))
        shutil.copy(os.path.join(os.path.dirname(library), "libvarnel32_binding.so"), package)
        return os.path.dirname(package)

    def test_each_bad_option_raises_its_kind_naming_the_option(self):
        for name, value, kind in BAD_OPTIONS:
            with self.subTest(option=name, value=repr(value)):
                options = {name: value, **({"height": 200} if name == "width" else {})}
                with self.assertRaises(kind) as raised:
                    Barcode(**options)
                self.assertIs(type(raised.exception), kind)
                self.assertIn(name, str(raised.exception))

    def test_the_helper_refuses_a_description_out_of_range_naming_the_field(self):
        context, message, helper = _native.library.VnCreateContext(), ctypes.create_string_buffer(256), _native.helper
        self.addCleanup(_native.library.VnDestroyContext, context)
        for field, value in BAD_DESCRIPTIONS:
            with self.subTest(field=field, value=repr(value)):
                description = _options.describe(Barcode())
                setattr(description, field, value)
                checked = (helper.VnbCheckData(description, message, 256), field in str(message.value))
                ready = (helper.VnbSetUp(context, description, None, None, message, 256), field in str(message.value))
                self.assertEqual((checked, ready), ((0, True), (-1, True)))

    def test_a_size_needs_both_sides(self):
        for options in (dict(width=300), dict(height=200)):
            with self.assertRaisesRegex(ValueError, "width and height go together"):
                Barcode(**options)

    def test_data_that_cannot_be_drawn_is_refused_with_why(self):
        cases = [
            (b"a\0b", "NUL"),
            ("\0", "NUL"),
            ("\ud800", "U+D800"),
            ("9" * 10**6, "1000000 bytes long"),
            (b"\xff" * 1000, "1000 bytes long"),
            ("", "no input data"),
            (b"", "no input data"),
            ("Preis 5 \u20ac", "'\u20ac' (U+20AC) is not in ISO-8859-1, which Code 128 is read in"),
        ]
        for data, why in cases:
            with self.subTest(data=repr(data[:8])):
                with self.assertRaises(VarnelDataError) as raised:
                    Barcode(data=data)
                self.assertIn(why, str(raised.exception))

    def test_unknown_formats_are_refused_before_anything_is_written(self):
        barcode = Barcode()
        for format, kind in (("gif", ValueError), ("", ValueError), (None, TypeError), (5, TypeError)):
            with self.subTest(format=format):
                with self.assertRaisesRegex(kind, "format"):
                    barcode.to_bytes(format)
                if format is None:
                    continue  # write's default: the file's ending, else PNG
                output = io.BytesIO()
                with self.assertRaisesRegex(kind, "format"):
                    barcode.write(output, format=format)
                self.assertEqual(output.getvalue(), b"")
        with self.assertRaisesRegex(ValueError, "give format="):
            barcode.save(self.path("picture.gif"))
        with self.assertRaisesRegex(ValueError, "format 'gif'"):
            barcode.save(self.path("picture.png"), format="gif")
        with self.assertRaisesRegex(ValueError, "transparent is for PNG and SVG, not BMP"):
            Barcode(transparent=True).to_bytes("bmp")
        self.assertEqual(os.listdir(self.folder), [])

    def test_a_picture_too_large_for_the_format_raises_memory_error(self):
        with self.assertRaisesRegex(MemoryError, "PNG picture of 2147483647x2147483647 pixels"):
            Barcode(width=2**31 - 1, height=2**31 - 1).to_bytes("png")

    def test_a_file_opened_for_text_is_refused_and_left_empty(self):
        with open(self.path("text.png"), "w") as text:
            with self.assertRaisesRegex(TypeError, "text mode.*'wb'"):
                Barcode().write(text)
        self.assertEqual(os.path.getsize(self.path("text.png")), 0)
        for file in (io.StringIO(), object(), None):
            with self.subTest(file=type(file).__name__):
                with self.assertRaises(TypeError):
                    Barcode().write(file)

    def test_refused_data_writes_nothing_into_a_file_object(self):
        output = io.BytesIO()
        with self.assertRaises(VarnelDataError):
            Barcode(symbology="ean13", data="123").write(output)
        self.assertEqual(output.getvalue(), b"")

    def test_paths_that_cannot_be_written_raise_oserror_and_leave_no_file(self):
        os.mkdir(self.path("folder.png"))
        os.mkfifo(self.path("fifo.png"))  # refused, as a device is, with EINVAL: an OSError of no subclass
        cases = [(self.path("no/such/picture.png"), FileNotFoundError), (self.path("folder.png"), IsADirectoryError),
                 (self.path("fifo.png"), OSError), ("/dev/full", OSError), ("", ValueError), (None, TypeError),
                 (42, TypeError)]
        for path, kind in cases:
            with self.subTest(path=path):
                with self.assertRaises(kind) as raised:
                    Barcode().save(path, format="png")
                self.assertIs(type(raised.exception), kind)
        self.assertEqual(sorted(os.listdir(self.folder)), ["fifo.png", "folder.png"])
        self.assertEqual(os.listdir(self.path("folder.png")), [])

    def test_a_read_only_folder_raises_permission_error_and_keeps_its_file(self):
        folder = self.path("read-only")
        os.mkdir(folder)
        with open(os.path.join(folder, "kept.png"), "wb") as kept:
            kept.write(b"old")
        os.chmod(folder, 0o555)
        os.chmod(self.folder, 0o755)
        # Root writes anywhere: the save is tried by a process of the unprivileged user nobody then,
        # with Debian's interpreter, which that user may run, and the package as pip installs it,
        # copied where that user may read it.
        as_root = os.geteuid() == 0
        python = "/usr/bin/python3" if as_root else sys.executable
        if as_root and not os.path.exists(python):
            self.skipTest("no /usr/bin/python3 to run as nobody")
        package = self.installed_package()
        tried = subprocess.run(
            [python, "-c", "import sys, varnel32\n"
                           "try:\n    varnel32.Barcode().save(sys.argv[1])\n"
                           "except PermissionError as error:\n    print(error)\n",
             os.path.join(folder, "kept.png")],
            capture_output=True, text=True, timeout=60, user=65534 if as_root else None, cwd="/",
            env={**{k: v for k, v in os.environ.items() if k != "VARNEL32_LIBRARY"}, "PYTHONPATH": package})
        self.assertEqual(tried.returncode, 0, tried.stderr)
        self.assertIn("Permission denied", tried.stdout)
        self.assertIn("kept.png", tried.stdout)
        self.assertEqual(os.listdir(folder), ["kept.png"])  # no temporary file left behind
        with open(os.path.join(folder, "kept.png"), "rb") as kept:
            self.assertEqual(kept.read(), b"old")


if __name__ == "__main__":
    unittest.main()
