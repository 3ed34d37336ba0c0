"""The Python package's build step, which pip runs through setuptools (see pyproject.toml).

Besides the package's Python files it compiles the library and the binding's helper with CMake (a
Release tree of its own, without the suites and benchmarks) and puts both inside the package, where
the installed package finds them. Everything a build makes goes to a temporary folder, removed when
the build ends, so that the source tree is left as it was. It needs what building the library
needs: CMake, a C++20 compiler, and the development files of FreeType, Fontconfig and libpng
(scripts/setup.sh installs them on Debian). CMAKE_BUILD_PARALLEL_LEVEL sets the jobs.
"""

import os
import pathlib
import re
import shutil
import sys
import tempfile

import setuptools
from setuptools import setup
from setuptools.command.build_py import build_py
from setuptools.dist import Distribution
from setuptools.errors import ModuleError

ROOT = pathlib.Path(__file__).resolve().parent
# What the package holds besides its Python files, from the CMake tree's src/: the library under
# its run-time name, which the helper asks for and finds beside itself, and the helper.
NATIVE_FILES = ("libvarnel32.so.1", "libvarnel32_binding.so")


def library_version() -> str:
    return re.search(r"project\(varnel32 VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text()).group(1)


def check_wheels_can_be_built() -> None:
    """pip installs the package as a wheel. A setuptools before 70.1 makes wheels with the `wheel`
    module, and without it says no more than "invalid command 'bdist_wheel'"."""
    try:
        Distribution().get_command_class("bdist_wheel")
    except ModuleError:
        sys.exit(f"varnel32: this Python, {sys.executable}, cannot build the package: its setuptools "
                 f"{setuptools.__version__} makes wheels with the `wheel` module, which it does not have. Build with "
                 "Debian's /usr/bin/python3 (python3-setuptools and python3-wheel), in a venv made with "
                 "--system-site-packages, or with a setuptools of 70.1 or later.")


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


if {"dist_info", "bdist_wheel"} & set(sys.argv):
    check_wheels_can_be_built()

# The build's trees and the package's metadata (egg-info), which setuptools would write into the
# source; the folder goes with the process that builds.
BUILD_FOLDER = tempfile.TemporaryDirectory(prefix="varnel32-build-")
setup(version=library_version(), cmdclass={"build_py": BuildWithLibrary}, distclass=BinaryDistribution,
      options={"build": {"build_base": BUILD_FOLDER.name}, "egg_info": {"egg_base": BUILD_FOLDER.name}})
