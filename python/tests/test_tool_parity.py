"""The binding draws what the `varnel` tool draws: for the same options, `to_bytes` is the file the
tool writes, in every format; data either refuses is refused by both; and the binding warns where
the tool warns, in the tool's words but for its options, which the binding names by its keywords."""

import unittest
import warnings

from samples import SAMPLES
from tool_runs import run_tool
from varnel32 import Barcode, VarnelDataError, VarnelWarning
from varnel32._options import in_keywords

FORMATS = ("bmp", "wmf", "emf", "svg", "png")

# Each of the tool's conventions and options, alone or together, beside every symbology's sample.
OPTIONS = [
    dict(symbology="upc-a", data="036000291452", x_dim="0.33mm", bar_height="22.85mm", font_height="9pt", dpi=300),
    dict(symbology="code128", data="Turned 90", orientation=90, frame="solid", bar_color="#003366",
         back_color="#FFFFEE"),
    dict(symbology="code39", data="VARNEL-32", check_digit=True, check_in_text=True, orientation=270,
         frame="dashed"),
    dict(symbology="code93", data="NO CHECK", check_digit=False),
    dict(symbology="ean13", data="590123412345", orientation=180, quiet_zone=3),
    dict(symbology="ean8", data="9638507", show_text=False),
    dict(symbology="isbn", data="0306406152", addon="52495", addon_gap_cm=0.3),
    dict(symbology="ean13", data="5901234123457", addon="52495", x_dim="0.33mm", dpi=300),  # print defaults
    dict(symbology="upc-e", data="425261", upce_system=1),
    dict(symbology="upc-e", data="0425261"),
    dict(symbology="upc-e", data="04210000526"),
    dict(symbology="itf", data="1234567890", ratio=2.5, narrow_cm=0.05),
    dict(symbology="postnet", data="555551237", dpi=(300, 150)),
    dict(symbology="planet", data="40123456789", orientation=90, dpi=(150, 300)),
    dict(symbology="code128", data="Lot 7, box 3", width=480, height=200, font="DejaVu Sans", font_height="4mm"),
    dict(symbology="code128", data="caf\u00e9 \u00bd \x81"),
    dict(symbology="sscc18", data="37610425002123456", bar_height=37),
    dict(symbology="code128", data=b"caf\xe9 \x80"),
    dict(symbology="codabar", data="40156", codabar_start="c", codabar_stop="d", x_dim="1px"),
    dict(symbology="gs1-128", data="[01]09501101530003[17]260101[10]ABC123", narrow_cm=0.06),
    dict(symbology="itf-14", data="15400141288763", bar_height="0.5in"),
    dict(symbology="code128", data="See through", transparent=True),
]


class ToolParityTest(unittest.TestCase):
    def assert_drawn_alike(self, options, formats):
        for format in formats:
            with self.subTest(format=format, **{k: repr(v) for k, v in options.items()}):
                drawn = run_tool(self, options, format)
                self.assertEqual(drawn.returncode, 0, drawn.stderr)
                self.assertEqual(Barcode(**options).to_bytes(format), drawn.stdout)

    def test_every_symbology_is_the_tools_picture_in_every_format(self):
        for options, _ in SAMPLES:
            self.assert_drawn_alike(options, FORMATS)

    def test_options_and_conventions_are_the_tools(self):
        for options in OPTIONS:
            self.assert_drawn_alike(options, ("svg", "png") if options.get("transparent") else FORMATS)

    def test_data_the_tool_refuses_is_refused_with_its_message(self):
        cases = [
            dict(symbology="ean13", data="5901234123458"),  # a wrong check digit
            dict(symbology="upc-e", data="24252614"),  # no number system 2
            dict(symbology="isbn", data="0306406153"),
            dict(symbology="code128", data="\u6f22"),  # not in ISO-8859-1
            dict(symbology="code128", data="7" * 1000),
            dict(symbology="code128", data="Preis 5 \u20ac"),
            dict(symbology="postnet", data=""),
            dict(symbology="sscc18", data="1234"),
            dict(symbology="ean128-ai01", data="09501101530004"),  # check digit 3
        ]
        for options in cases:
            with self.subTest(**{k: repr(v) for k, v in options.items()}):
                drawn = run_tool(self, options, "png")
                self.assertEqual(drawn.returncode, 2, drawn.stderr)
                with self.assertRaises(VarnelDataError) as raised:
                    Barcode(**options)
                self.assertEqual(drawn.stderr.decode(), f"varnel: {raised.exception}\n")

    def test_the_library_refuses_what_the_tool_refuses(self):
        for options in (dict(symbology="ean13", data="123"), dict(symbology="code39", data="lower"),
                        dict(symbology="upc-a", data="03600029145", addon="5x")):
            with self.subTest(**options):
                drawn = run_tool(self, options, "png")
                self.assertEqual(drawn.returncode, 2, drawn.stderr)
                with self.assertRaises(VarnelDataError) as raised:
                    Barcode(**options).to_bytes("png")
                # The tool adds what the symbology takes to the library's message.
                self.assertTrue(drawn.stderr.decode().startswith(f"varnel: {raised.exception}"), drawn.stderr)

    def test_warnings_are_the_tools(self):
        for options in (dict(x_dim="0.2mm"), dict(symbology="ean13", data="590123412345", narrow_cm=0.02, dpi=300),
                        dict(width=50, height=50), dict(symbology="code93", check_digit=False),
                        dict(symbology="ean128-ai01", data="0950110153000", check_digit=False), dict(data="A" * 200)):
            with self.subTest(**options):
                drawn = run_tool(self, options, "png")
                with warnings.catch_warnings(record=True) as caught:
                    warnings.simplefilter("always")
                    self.assertEqual(Barcode(**options).to_bytes("png"), drawn.stdout)
                self.assertTrue(caught)
                self.assertTrue(all(w.category is VarnelWarning for w in caught))
                said = "".join(f"varnel: warning: {w.message}\n" for w in caught)
                self.assertEqual(said, in_keywords(drawn.stderr.decode()))
                self.assertNotIn("--", said)  # "than x_dim asks; a higher dpi comes closer"


if __name__ == "__main__":
    unittest.main()
