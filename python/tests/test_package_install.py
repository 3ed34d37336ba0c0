"""The package as a new user installs it: a fresh venv of Debian's python3, `pip install
--no-build-isolation --no-index` of a clean copy of the source, which compiles the library into the
package; then, from another folder and with no environment variable, every symbology drawn to PNG
bytes and read by zbar, and a Pillow image (Debian's python3-pil, seen through the venv).

Slow, as it compiles the library: ctest labels it so. The build happens in the copy, in a
temporary folder, and leaves the source tree as it was."""

import importlib.util
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

from samples import SAMPLES

ROOT = pathlib.Path(__file__).resolve().parents[2]
PYTHON = "/usr/bin/python3"  # Debian's, whose python3-setuptools and python3-wheel build the package
ZBAR_SYMBOLOGIES = ["-Sean2.enable", "-Sean5.enable", "-Supca.enable", "-Supce.enable", "-Sisbn13.enable"]

# Run by the venv's interpreter, from an empty folder: every sample to PNG bytes, and what the
# package is made of.
DRAW_EVERY_SAMPLE = """
import json, os, pathlib, struct, sys
import varnel32
samples, into = json.loads(sys.argv[1]), pathlib.Path(sys.argv[2])
for n, options in enumerate(samples):
    (into / f"{n}.png").write_bytes(varnel32.Barcode(**options).to_bytes("png"))
ean8 = varnel32.Barcode(symbology="ean8", data="96385074")
image = ean8.to_image()
package = pathlib.Path(varnel32.__file__).parent
print(json.dumps({"package": str(package), "prefix": sys.prefix, "files": sorted(os.listdir(package)),
                  "symbologies": list(varnel32.SYMBOLOGIES), "image": [image.format, image.mode, list(image.size)],
                  "png": ["PNG", "P", list(struct.unpack(">II", ean8.to_bytes("png")[16:24]))]}))
"""


def source_files(root: pathlib.Path) -> list:
    """The source's files as git has them, untracked ones that git does not ignore included;
    nothing of the build trees."""
    listed = subprocess.run(["git", "-C", str(root), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            capture_output=True, check=True, timeout=60).stdout
    return [name for name in listed.decode().split("\0") if name and (root / name).is_file()]


def clean_environment() -> dict:
    return {k: v for k, v in os.environ.items()
            if k not in ("VARNEL32_LIBRARY", "PYTHONPATH", "LD_LIBRARY_PATH", "PYTHONHOME", "VIRTUAL_ENV")}


class PackageInstallTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory(prefix="varnel32-package-")
        self.addCleanup(folder.cleanup)
        self.folder = pathlib.Path(folder.name)

    def install(self) -> pathlib.Path:
        """A venv with the package installed from a clean copy of the source; its interpreter."""
        source = self.folder / "source"
        for name in source_files(ROOT):
            (source / name).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(ROOT / name, source / name)
        git = f"git -c user.name=t -c user.email=t@t -C {source}"
        subprocess.run(f"{git} init -q && {git} add -A && {git} commit -qm source", shell=True, check=True)
        venv = self.folder / "venv"
        subprocess.run([PYTHON, "-m", "venv", "--system-site-packages", str(venv)], check=True, timeout=300,
                       env=clean_environment())
        installed = subprocess.run(
            [str(venv / "bin" / "pip"), "install", "--no-build-isolation", "--no-index", "--no-cache-dir",
             "--disable-pip-version-check", str(source)],
            capture_output=True, text=True, timeout=1200, cwd=self.folder,
            env={**clean_environment(), "CMAKE_BUILD_PARALLEL_LEVEL": "2"})
        self.assertEqual(installed.returncode, 0, installed.stdout[-3000:] + installed.stderr[-3000:])
        self.assertEqual(subprocess.check_output(f"{git} status --porcelain --ignored", shell=True), b"")
        return venv / "bin" / "python"

    def test_a_fresh_venv_installs_the_package_and_draws_every_symbology_that_zbar_reads(self):
        if not os.path.exists(PYTHON) or not shutil.which("zbarimg"):
            self.skipTest(f"needs Debian's {PYTHON} and zbarimg (scripts/setup.sh installs them)")
        python = self.install()
        pictures = self.folder / "elsewhere"
        pictures.mkdir()
        drawn = subprocess.run([str(python), "-c", DRAW_EVERY_SAMPLE, json.dumps([o for o, _ in SAMPLES]),
                                str(pictures)], capture_output=True, text=True, timeout=300, cwd=pictures,
                               env=clean_environment())
        self.assertEqual(drawn.returncode, 0, drawn.stderr)
        report = json.loads(drawn.stdout)

        # Imported from the venv, with the library and its helper inside the package.
        self.assertTrue(report["package"].startswith(report["prefix"]), report)
        for name in ("__init__.py", "py.typed", "libvarnel32.so.1", "libvarnel32_binding.so"):
            self.assertIn(name, report["files"])
        self.assertEqual(sorted(report["symbologies"]), sorted(options["symbology"] for options, _ in SAMPLES))
        self.assertEqual(report["image"], report["png"])

        for n, (options, readings) in enumerate(SAMPLES):
            with self.subTest(**options):
                picture = pictures / f"{n}.png"
                self.assertEqual(picture.read_bytes()[:8], b"\x89PNG\r\n\x1a\n")
                if not readings:
                    continue  # zbar has no decoder for it
                read = subprocess.run(["zbarimg", "--quiet", "--raw", *ZBAR_SYMBOLOGIES, str(picture)],
                                      capture_output=True, text=True, timeout=60)
                self.assertEqual(read.returncode, 0, read.stderr)
                self.assertEqual(sorted(read.stdout.splitlines()), sorted(readings))

    def test_a_python_that_cannot_make_wheels_is_told_which_python3_to_use(self):
        if importlib.util.find_spec("wheel") or importlib.util.find_spec("setuptools.command.bdist_wheel"):
            self.skipTest(f"{sys.executable} makes wheels")  # a setuptools from 70.1 on, or the wheel module
        run = subprocess.run([sys.executable, ROOT / "setup.py", "bdist_wheel"], capture_output=True, cwd=self.folder)
        self.assertEqual((run.returncode, os.listdir(self.folder)), (1, []))
        self.assertIn(b"Build with Debian's /usr/bin/python3", run.stderr)


if __name__ == "__main__":
    unittest.main()
