"""Pictures in memory: `to_bytes` and `write` render without touching the file system, `write` takes
any file object opened for bytes, `to_image` gives a Pillow image of the PNG's pixels, notebooks
get the PNG and the SVG, and a copied or unpickled barcode draws the same with a context of its own."""

import copy
import importlib.util
import io
import os
import pickle
import shutil
import subprocess
import sys
import tempfile
import unittest
import unittest.mock
import xml.etree.ElementTree as ElementTree

from test_varnel32 import SVG, png_rows
from varnel32 import Barcode

BARCODE = Barcode(symbology="ean13", data="5901234123457", addon="12")


class TrickleWriter(io.RawIOBase):
    """A raw file that takes at most five bytes a write, as a pipe or a socket may."""

    def __init__(self):
        self.taken = bytearray()

    def writable(self):
        return True

    def write(self, data):
        self.taken += bytes(data[:5])
        return min(5, len(data))


class PicturesInMemoryTest(unittest.TestCase):
    def test_write_puts_the_picture_into_any_file_object_opened_for_bytes(self):
        for format in ("bmp", "wmf", "emf", "svg", "png"):
            with self.subTest(format=format):
                output = io.BytesIO()
                BARCODE.write(output, format=format)
                self.assertEqual(output.getvalue(), BARCODE.to_bytes(format))
        trickle = TrickleWriter()
        BARCODE.write(trickle, format="svg")
        self.assertEqual(bytes(trickle.taken), BARCODE.to_bytes("svg"))
        with tempfile.TemporaryDirectory() as folder:
            for name, buffering in (("named.svg", -1), ("unbuffered.emf", 0), ("unnamed", -1)):
                with open(os.path.join(folder, name), "wb", buffering=buffering) as file:
                    BARCODE.write(file)  # the format its name ends with, else PNG
                with open(os.path.join(folder, name), "rb") as file:
                    written = file.read()
                self.assertEqual(written, BARCODE.to_bytes(os.path.splitext(name)[1] or "png"), name)

    def test_a_picture_larger_than_the_threads_buffer_comes_whole(self):
        # A 3000x400 BMP (about 150 KB) outgrows the buffer a thread starts with: the library keeps
        # it and a second call copies it out, into a buffer the thread then keeps for the next one.
        large = Barcode(symbology="code128", data="Outgrown", width=3000, height=400)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "large.bmp")
            large.save(path)
            with open(path, "rb") as saved:
                expected = saved.read()
        self.assertGreater(len(expected), 100_000)
        self.assertEqual(large.to_bytes("bmp"), expected)
        self.assertEqual(large.to_bytes("bmp"), expected)
        self.assertEqual(BARCODE.to_bytes("png"), copy.copy(BARCODE).to_bytes("png"))

    @unittest.skipUnless(shutil.which("strace"), "strace is not installed")
    def test_rendering_in_memory_writes_no_file(self):
        # After a first render (fonts found and cached), a hundred pictures in every format open
        # nothing for writing and create, rename or remove nothing.
        script = ("import os, varnel32\nb = varnel32.Barcode(symbology='code128', data='In memory')\n"
                  "b.to_bytes('png')\nos.path.exists('/varnel32-renders-start-here')\n"
                  "for n in range(20):\n    [b.to_bytes(f) for f in ('bmp', 'wmf', 'emf', 'svg', 'png')]\n"
                  "    b.write(__import__('io').BytesIO())\n")
        with tempfile.TemporaryDirectory() as folder:
            log = os.path.join(folder, "strace.log")
            traced = subprocess.run(["strace", "-f", "-qq", "-e", "trace=%file", "-o", log, sys.executable, "-c", script],
                                    capture_output=True, text=True, timeout=120)
            self.assertEqual(traced.returncode, 0, traced.stderr)
            with open(log) as calls:
                lines = calls.read().split("/varnel32-renders-start-here", 1)[1].splitlines()
        writes = [line for line in lines if any(flag in line for flag in ("O_WRONLY", "O_RDWR", "O_CREAT", "O_TMPFILE"))
                  or any(f" {call}(" in line for call in ("unlink", "unlinkat", "rename", "renameat", "renameat2",
                                                          "linkat", "mkdir", "creat"))]
        self.assertEqual(writes, [])

    def test_to_image_is_a_pillow_image_of_the_pngs_pixels(self):
        if importlib.util.find_spec("PIL") is None:
            self.skipTest("Pillow is not installed (the package's install test has it, from Debian)")
        image = BARCODE.to_image()
        rows = png_rows(BARCODE.to_bytes("png"))
        self.assertEqual(image.size, (len(rows[0]), len(rows)))
        self.assertEqual([[image.getpixel((x, y)) for x in range(image.width)] for y in range(image.height)], rows)

    def test_to_image_without_pillow_says_how_to_get_it(self):
        with unittest.mock.patch.dict(sys.modules, {"PIL": None, "PIL.Image": None}):
            with self.assertRaisesRegex(ImportError, r"needs Pillow.*pip install 'varnel32\[image\]'"):
                BARCODE.to_image()

    def test_a_notebook_shows_the_png_and_the_svg(self):
        self.assertEqual(BARCODE._repr_png_(), BARCODE.to_bytes("png"))
        svg = BARCODE._repr_svg_()
        self.assertIsInstance(svg, str)
        self.assertEqual(svg.encode("utf-8"), BARCODE.to_bytes("svg"))
        self.assertEqual(ElementTree.fromstring(svg).tag, SVG + "svg")

    def test_a_copied_or_unpickled_barcode_draws_the_same_with_a_context_of_its_own(self):
        BARCODE.to_bytes("png")  # the original has made its context
        for twin in (copy.copy(BARCODE), copy.deepcopy(BARCODE), pickle.loads(pickle.dumps(BARCODE))):
            with self.subTest(twin=twin):
                self.assertEqual(twin, BARCODE)
                self.assertEqual(hash(twin), hash(BARCODE))
                self.assertIsNot(twin._engine, BARCODE._engine)
                self.assertEqual(twin.to_bytes("png"), BARCODE.to_bytes("png"))


if __name__ == "__main__":
    unittest.main()
