"""The README's Python examples, run as written: the label, the web application's handler serving
a PNG to a request and refusing data it cannot draw, and the notebook's barcode showing itself."""

import ast
import http.client
import os
import pathlib
import tempfile
import threading
import unittest
import urllib.parse
from http.server import ThreadingHTTPServer

from varnel32 import Barcode

README = pathlib.Path(__file__).resolve().parents[2] / "README.md"


def python_examples():
    """The Python blocks of the README's section on Python, in order."""
    text = README.read_text(encoding="utf-8")
    section = text[text.index("\n## Python\n"):]
    section = section[:section.index("\n## ", 1)]
    return [block.split("```", 1)[0] for block in section.split("```python\n")[1:]]


class ReadmeTest(unittest.TestCase):
    def setUp(self):
        self.label, self.web, self.notebook = python_examples()

    def test_the_label_example_draws_its_label(self):
        with tempfile.TemporaryDirectory() as folder:
            cwd = os.getcwd()
            os.chdir(folder)
            try:
                exec(compile(self.label, "README.md", "exec"), {})
            finally:
                os.chdir(cwd)
            drawn = pathlib.Path(folder, "label.png").read_bytes()
        # The 13 digits are the 12 and their check digit, as the tool takes them.
        self.assertEqual(drawn, Barcode(symbology="ean13", data="590123412345", addon="12").to_bytes("png"))

    def test_the_web_example_serves_the_png_and_refuses_what_it_cannot_draw(self):
        names = {"__name__": "readme_web_example"}
        exec(compile(self.web, "README.md", "exec"), names)
        server = ThreadingHTTPServer(("127.0.0.1", 0), names["LabelHandler"])
        serving = threading.Thread(target=server.serve_forever, daemon=True)
        serving.start()
        self.addCleanup(serving.join, 10)
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        for data, status in (("Lot 7", 200), ("caf\u00e9", 200), ("\u6f22", 400)):
            with self.subTest(data=data):
                connection = http.client.HTTPConnection("127.0.0.1", server.server_address[1], timeout=10)
                connection.request("GET", "/?" + urllib.parse.urlencode({"data": data}))
                response = connection.getresponse()
                body = response.read()
                connection.close()
                self.assertEqual(response.status, status)
                if status == 200:
                    self.assertEqual(response.getheader("Content-Type"), "image/png")
                    self.assertEqual(body, Barcode(symbology="code128", data=data).to_bytes("png"))
                else:
                    self.assertIn(b"U+6F22", body)

    def test_the_notebook_example_shows_its_barcode(self):
        cell = ast.parse(self.notebook)
        shown = ast.Expression(cell.body.pop().value)
        names = {}
        exec(compile(cell, "README.md", "exec"), names)
        barcode = eval(compile(shown, "README.md", "eval"), names)
        self.assertEqual(barcode._repr_png_(), barcode.to_bytes("png"))
        self.assertEqual(barcode._repr_png_()[:8], b"\x89PNG\r\n\x1a\n")


if __name__ == "__main__":
    unittest.main()
