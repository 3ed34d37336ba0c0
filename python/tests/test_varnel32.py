"""The Python binding: every format is written and is what its ending says, refused data raises with
the library's message and leaves the file alone, arguments are checked, and the settings reach the
picture (read back from the files, and by zbar where it is installed)."""

import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
import zlib

import varnel32
from varnel32 import Barcode, VarnelDataError

SVG = "{http://www.w3.org/2000/svg}"


def png_chunks(data):
    """The chunks of a PNG file by type, each list in file order; the CRCs checked."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
    chunks, at = {}, 8
    while at < len(data):
        (length,) = struct.unpack(">I", data[at : at + 4])
        kind, body = data[at + 4 : at + 8], data[at + 8 : at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length : at + 12 + length])
        assert crc == zlib.crc32(kind + body), f"bad CRC in {kind!r}"
        chunks.setdefault(kind.decode("ascii"), []).append(body)
        at += 12 + length
    return chunks


def png_rows(data):
    """The rows of an 8-bit-or-less palette PNG as lists of colours (RGB bytes), filters undone."""
    chunks = png_chunks(data)
    palette = chunks["PLTE"][0]
    width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", chunks["IHDR"][0])
    assert colour_type == 3 and interlace == 0 and depth <= 8
    stream = zlib.decompress(b"".join(chunks["IDAT"]))
    stride, step = (width * depth + 7) // 8, max(1, depth // 8)
    previous, rows = bytearray(stride), []
    for y in range(height):
        line = stream[y * (stride + 1) : (y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for i in range(stride):
            left = row[i - step] if i >= step else 0
            up, corner = previous[i], previous[i - step] if i >= step else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                nearest = min((abs(p - left), 0, left), (abs(p - up), 1, up), (abs(p - corner), 2, corner))[2]
                row[i] = (row[i] + nearest) & 0xFF
        previous = row
        indices = [(row[x * depth // 8] >> (8 - depth - x * depth % 8)) & ((1 << depth) - 1) for x in range(width)]
        rows.append([palette[3 * index : 3 * index + 3] for index in indices])
    return rows


def bmp_rows(data):
    """The rows of a one-bit BMP, top row first, as lists of colours (RGB bytes)."""
    assert data[:2] == b"BM"
    (offset, header) = struct.unpack("<II", data[10:18])
    width, height, _, depth = struct.unpack("<iiHH", data[18:30])
    assert depth == 1 and height > 0
    table = data[14 + header : 14 + header + 8]
    colours = [bytes(reversed(table[4 * index : 4 * index + 3])) for index in (0, 1)]  # stored blue first
    stride = (width + 31) // 32 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        line = data[offset + y * stride : offset + (y + 1) * stride]
        rows.append([colours[(line[x // 8] >> (7 - x % 8)) & 1] for x in range(width)])
    return rows


class BindingTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="varnel32-test-")
        self.addCleanup(self.folder.cleanup)

    def path(self, name):
        return os.path.join(self.folder.name, name)

    def read(self, name):
        with open(self.path(name), "rb") as file:
            return file.read()

    def test_every_format_is_written_as_its_ending_says(self):
        barcode = Barcode(symbology="code39", data="PY-32", width=320, height=180)
        for ending in (".bmp", ".wmf", ".emf", ".svg", ".png", ".PNG"):
            barcode.save(self.path("picture" + ending))
        self.assertEqual(self.read("picture.bmp")[:2], b"BM")
        self.assertEqual(struct.unpack("<i", self.read("picture.bmp")[18:22])[0], 320)
        self.assertEqual(self.read("picture.wmf")[:4], b"\xd7\xcd\xc6\x9a")  # the placeable key
        emf = self.read("picture.emf")
        self.assertEqual(struct.unpack("<I", emf[:4])[0], 1)  # EMR_HEADER
        self.assertEqual(emf[40:44], b" EMF")
        svg = ElementTree.fromstring(self.read("picture.svg"))
        self.assertEqual(svg.tag, SVG + "svg")
        self.assertEqual(svg.get("viewBox"), "0 0 320 180")
        width, height = struct.unpack(">II", png_chunks(self.read("picture.png"))["IHDR"][0][:8])
        self.assertEqual((width, height), (320, 180))
        self.assertEqual(self.read("picture.PNG"), self.read("picture.png"))
        self.assertEqual(varnel32.last_error(), "")

    def test_a_path_like_object_is_a_path(self):
        Barcode().save(pathlib.Path(self.path("picture.svg")))
        self.assertTrue(os.path.exists(self.path("picture.svg")))

    def test_refused_data_raises_with_the_message_and_leaves_the_file_alone(self):
        cases = [
            (dict(symbology="ean13", data="123"), "12 digits are required."),
            (dict(symbology="code39", data="lower"), "Wrong Data Format"),
            (dict(symbology="upc-a", data="01234567890", addon="1x"), "Wrong Supplement 2"),
            (dict(symbology="gs1-128", data="(01)09501101530004"), "AI (01): check digit should be 3."),
        ]
        with open(self.path("kept.png"), "wb") as file:
            file.write(b"old")
        for arguments, message in cases:
            with self.subTest(**arguments):
                with self.assertRaises(VarnelDataError) as raised:
                    Barcode(**arguments).save(self.path("kept.png"))
                self.assertIsInstance(raised.exception, ValueError)
                self.assertEqual(str(raised.exception), message)
                self.assertEqual(varnel32.last_error(), message)
                with self.assertRaises(VarnelDataError):
                    Barcode(**arguments).save(self.path("never.svg"))
                self.assertFalse(os.path.exists(self.path("never.svg")))
        self.assertEqual(self.read("kept.png"), b"old")

    def test_an_unwritable_path_raises_oserror(self):
        with self.assertRaises(OSError):
            Barcode().save(self.path("no/such/folder/picture.png"))
        os.mkdir(self.path("folder.svg"))
        with self.assertRaises(OSError):
            Barcode().save(self.path("folder.svg"))

    def test_text_is_written_in_iso_8859_1_and_bytes_are_kept_as_they_are(self):
        Barcode(data="caf\u00e9 \u00bd", font="Arial").save(self.path("text.svg"))
        Barcode(data=b"caf\xe9 \xbd", font=b"Arial").save(self.path("bytes.svg"))
        self.assertEqual(self.read("text.svg"), self.read("bytes.svg"))
        texts = [t.text for t in ElementTree.fromstring(self.read("text.svg")).iter(SVG + "text")]
        self.assertEqual(texts, ["caf\u00e9 \u00bd"])
        with self.assertRaises(ValueError) as raised:
            Barcode(data="ab\u6f22")  # not in ISO-8859-1
        self.assertIn("'\u6f22' (U+6F22) is not in ISO-8859-1", str(raised.exception))
        with self.assertRaises(ValueError):
            Barcode(data="\x80")  # a control character, which the text would print as the euro sign
        with self.assertRaises(ValueError):
            Barcode(data=b"a\0b")
        with self.assertRaises(ValueError):
            Barcode(data="9" * 1000)

    def test_the_five_unassigned_bytes_are_their_c1_characters_as_the_library_shows_them(self):
        for byte in (0x81, 0x8D, 0x8F, 0x90, 0x9D):
            with self.subTest(byte=hex(byte)):
                self.assertEqual(Barcode(data=f"a{chr(byte)}b").to_bytes("svg"),
                                 Barcode(data=bytes([0x61, byte, 0x62])).to_bytes("svg"))

    def test_text_becomes_the_bytes_the_tool_makes_of_it(self):
        tool = self.tool()
        # Every character of the code page's upper half, and one it lacks, to be refused by both.
        for code in (*range(0x80, 0x100), 0x20AC, 0x2122, 0x0178, 0x6F22):
            character = chr(code)
            with self.subTest(character=f"U+{code:04X}"):
                drawn = subprocess.run([str(tool), "-f", "svg", "-o", "-", "--", character],
                                       capture_output=True, timeout=60)
                try:
                    ours = Barcode(data=character).to_bytes("svg")
                except ValueError:
                    self.assertEqual(drawn.returncode, 2, drawn.stderr)
                    continue
                self.assertEqual(drawn.returncode, 0, drawn.stderr)
                self.assertEqual(drawn.stdout, ours)

    def test_to_bytes_is_the_saved_file(self):
        barcode = Barcode(symbology="ean8", data="9638507", width=250, height=120)
        for ending in (".bmp", ".wmf", ".emf", ".svg", ".png"):
            with self.subTest(ending=ending):
                barcode.save(self.path("saved" + ending))
                self.assertEqual(barcode.to_bytes(ending), self.read("saved" + ending))
        with self.assertRaises(VarnelDataError):
            Barcode(symbology="ean8", data="96385X7").to_bytes("png")
        with self.assertRaises(ValueError):
            barcode.to_bytes("gif")

    def test_arguments_are_checked_when_the_barcode_is_made(self):
        for name in ("UPC-A", "upc_a", "upca", "Upc A", 19):
            self.assertEqual(Barcode(symbology=name).symbology, 19, name)
        bad = [
            dict(symbology="code49"),
            dict(symbology=23),
            dict(symbology=True),
            dict(orientation=45),
            dict(frame="dotted"),
            dict(frame=3),
            dict(bar_color="#12345"),
            dict(back_color=(0, 0, 256)),
            dict(width=0),
            dict(height=2.5),
            dict(narrow_cm=0),
            dict(ratio=-1),
            dict(codabar_start="E"),
            dict(upce_system=2),
            dict(addon="123"),
            dict(font="x" * 32),
            dict(dpi=0),
            dict(dpi=(96, 96, 96)),
        ]
        for arguments in bad:
            with self.subTest(**{k: repr(v) for k, v in arguments.items()}):
                with self.assertRaises(ValueError):
                    Barcode(**arguments)
        with self.assertRaises(TypeError):
            Barcode(colour="red")
        with self.assertRaises(ValueError):
            Barcode().save(self.path("picture.gif"))
        self.assertFalse(os.path.exists(self.path("picture.gif")))

    def tool(self):
        """The command-line tool built with this library, which ctest names in VARNEL_TOOL."""
        tool = os.environ.get("VARNEL_TOOL")
        if not tool:
            self.skipTest("VARNEL_TOOL does not name the tool built with the library")
        return tool

    def test_the_names_and_the_version_are_the_tools(self):
        # Both come from the library's catalogue.
        tool = self.tool()
        listed = subprocess.run([str(tool), "--list"], capture_output=True, check=True, timeout=60).stdout
        lines = [line.split() for line in listed.decode().splitlines()]
        self.assertEqual(list(varnel32.SYMBOLOGIES.items()), [(fields[1], int(fields[0])) for fields in lines])
        version = subprocess.run([str(tool), "--version"], capture_output=True, check=True, timeout=60).stdout
        self.assertEqual(version.decode(), f"varnel {varnel32.__version__}\n")
        barcode = Barcode(symbology=19, frame=2)
        self.assertRegex(repr(barcode), r"^Barcode\(symbology='upc-a', data='1234', .* frame='solid', ")

    def test_settings_reach_the_picture(self):
        barcode = Barcode(
            symbology="code128", data="Varnel", width=401, height=151, bar_color="#102030",
            back_color=(250, 240, 230), dpi=(300, 150), font="DejaVu Sans", frame="solid",
        )
        png = barcode.to_bytes("png")
        chunks = png_chunks(png)
        self.assertEqual(struct.unpack(">II", chunks["IHDR"][0][:8]), (401, 151))
        self.assertEqual(chunks["PLTE"][0], bytes([250, 240, 230, 0x10, 0x20, 0x30]))
        self.assertEqual(struct.unpack(">IIB", chunks["pHYs"][0]), (11811, 5906, 1))
        svg = ElementTree.fromstring(barcode.to_bytes(".svg"))
        self.assertIn("DejaVu Sans", next(svg.iter(SVG + "text")).get("font-family"))
        plain = Barcode(symbology="code128", data="Varnel", width=401, height=151, dpi=(300, 150))
        self.assertNotEqual(bmp_rows(plain.to_bytes("bmp")), bmp_rows(barcode.to_bytes("bmp")), "the frame")

    def test_the_png_has_the_bmps_pixels(self):
        for orientation in (0, 90, 180, 270):
            barcode = Barcode(symbology="ean13", data="590123412345", addon="12", orientation=orientation,
                              width=333, height=333)
            self.assertEqual(png_rows(barcode.to_bytes("png")), bmp_rows(barcode.to_bytes("bmp")), orientation)

    @unittest.skipUnless(shutil.which("zbarimg"), "zbarimg is not installed")
    def test_zbar_reads_the_saved_png(self):
        cases = [
            (dict(symbology="code128", data="Py 3.11"), "Py 3.11"),
            (dict(symbology="code39", data="PY-32", orientation=90, check_digit=True), "PY-32E"),
            (dict(symbology="ean13", data="590123412345", orientation=180), "5901234123457"),
            # zbarimg reports a UPC-E symbol expanded to the EAN-13 form of its UPC-A number.
            (dict(symbology="upc-e", data="04210000526"), "0042100005264"),
            (dict(symbology="gs1-128", data="[01]09501101530003[10]12"), "01095011015300031012"),
        ]
        for arguments, expected in cases:
            with self.subTest(**{k: repr(v) for k, v in arguments.items()}):
                Barcode(width=360, height=360, **arguments).save(self.path("zbar.png"))
                read = subprocess.run(["zbarimg", "--quiet", "--raw", self.path("zbar.png")],
                                      capture_output=True, timeout=60)
                self.assertEqual(read.returncode, 0, read.stderr)
                self.assertIn(expected, read.stdout.decode().split("\n"))

    def test_the_last_error_is_empty_before_any_picture(self):
        fresh = subprocess.run([sys.executable, "-c", "import varnel32; print(repr(varnel32.last_error()))"],
                               capture_output=True, timeout=60, cwd=os.path.dirname(os.path.abspath(__file__)))
        self.assertEqual(fresh.returncode, 0, fresh.stderr)
        self.assertEqual(fresh.stdout.strip(), b"''")


if __name__ == "__main__":
    unittest.main()
