"""The Python package's build step, which pip runs through setuptools (see pyproject.toml).

Besides the package's Python files it compiles the library and the binding's helper with CMake (a
Release tree of its own, without the suites and benchmarks, under build-python/) and puts both
inside the package, where the installed package finds them. It needs what building the library
needs: CMake, a C++20 compiler, and the development files of FreeType, Fontconfig and libpng
(scripts/setup.sh installs them on Debian). CMAKE_BUILD_PARALLEL_LEVEL sets the jobs.
"""

import os
import pathlib
import re
import shutil

from setuptools import setup
from setuptools.command.build_py import build_py
from setuptools.dist import Distribution

ROOT = pathlib.Path(__file__).resolve().parent
# What the package holds besides its Python files, from the CMake tree's src/: the library under
# its run-time name, which the helper asks for and finds beside itself, and the helper.
NATIVE_FILES = ("libvarnel32.so.1", "libvarnel32_binding.so")


def library_version() -> str:
    return re.search(r"project\(varnel32 VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text()).group(1)


class BuildWithLibrary(build_py):
    """build_py, then the library and the helper, copied into the built package."""

    def run(self):
        super().run()
        tree = pathlib.Path(self.get_finalized_command("build").build_temp).resolve() / "cmake"
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(os.cpu_count() or 1))
        self.spawn(["cmake", "-S", str(ROOT), "-B", str(tree), "-DCMAKE_BUILD_TYPE=Release",
                    "-DVARNEL_BUILD_TESTS=OFF", "-DVARNEL_BUILD_BENCHMARKS=OFF"])
        self.spawn(["cmake", "--build", str(tree), "--parallel", jobs, "--target", "varnel32", "varnel32_binding"])
        package = pathlib.Path(self.build_lib) / "varnel32"
        for name in NATIVE_FILES:
            shutil.copyfile(tree / "src" / name, package / name)  # the file a link names, not the link


class BinaryDistribution(Distribution):
    """A package with a compiled library in it: its wheel is for this platform and Python."""

    def has_ext_modules(self):
        return True


setup(version=library_version(), cmdclass={"build_py": BuildWithLibrary}, distclass=BinaryDistribution,
      options={"build": {"build_base": "build-python"}})
