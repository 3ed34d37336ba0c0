"""Where the package finds the library and its helper: VARNEL32_LIBRARY first, and when nothing is
found an ImportError that says where it looked and how to point it at a library."""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

import varnel32

PACKAGE = pathlib.Path(varnel32.__file__).parent
DRAW = "import varnel32; print(len(varnel32.Barcode().to_bytes('png')) > 0)"


class LibraryLookupTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory(prefix="varnel32-lookup-")
        self.addCleanup(folder.cleanup)
        self.copy = pathlib.Path(folder.name)
        # The package's Python files alone, as a user who copied the module has them.
        shutil.copytree(PACKAGE, self.copy / "varnel32", ignore=shutil.ignore_patterns("*.so*", "__pycache__"))

    def run_copy(self, **environment):
        env = {k: v for k, v in os.environ.items() if k not in ("VARNEL32_LIBRARY", "LD_LIBRARY_PATH")}
        env.update(PYTHONPATH=str(self.copy), **environment)
        return subprocess.run([sys.executable, "-c", DRAW], capture_output=True, text=True, timeout=60, env=env,
                              cwd=self.copy)

    def test_with_nothing_found_the_error_says_where_it_looked_and_what_to_do(self):
        ran = self.run_copy()
        self.assertNotEqual(ran.returncode, 0)
        last = ran.stderr.strip().splitlines()[-1]
        self.assertTrue(last.startswith("ImportError: varnel32 cannot find libvarnel32_binding.so"), last)
        for words in (str(self.copy / "varnel32"), "in the package", "VARNEL32_LIBRARY is not set",
                      "pip install .", "set VARNEL32_LIBRARY to the path of a built libvarnel32.so"):
            self.assertIn(words, last)

    def test_varnel32_library_names_the_library_and_its_helper_is_found_beside_it(self):
        library = os.environ.get("VARNEL32_LIBRARY")
        if not library:
            self.skipTest("VARNEL32_LIBRARY names no built library")
        ran = self.run_copy(VARNEL32_LIBRARY=library)
        self.assertEqual((ran.returncode, ran.stdout.strip()), (0, "True"), ran.stderr)

    def test_a_varnel32_library_that_cannot_be_loaded_is_named(self):
        missing = str(self.copy / "no" / "libvarnel32.so")
        ran = self.run_copy(VARNEL32_LIBRARY=missing)
        self.assertIn(f"ImportError: VARNEL32_LIBRARY is {missing!r}, which cannot be loaded", ran.stderr)


if __name__ == "__main__":
    unittest.main()
