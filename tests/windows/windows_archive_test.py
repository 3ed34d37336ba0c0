"""The Windows release archive that scripts/package-windows.sh makes: its name and layout, each DLL
built for its own architecture and importing only Windows' own DLLs, and every export the header
names exported by both DLLs under its plain name, listed in both .def files (the 32-bit one with
the bytes of its arguments), bound by both import libraries of each and declared by the .NET
example. The DLLs and the libraries are read here, byte by byte, not with the tools that made them.
The DLLs and the tool carry no debugging information, but the name of their own in the debug archive.

    python3 tests/windows/windows_archive_test.py      (after scripts/package-windows.sh)
"""
import itertools
import re
import struct
import unittest
import zipfile
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
HEADER = (ROOT / "include" / "varnel32.h").read_text()
VERSION = re.search(r"^project\(varnel32 VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text(), re.M).group(1)
NAME = f"varnel32-{VERSION}-windows"
ARCHIVE = ROOT / "build-windows-release" / f"{NAME}.zip"
DEBUG_ARCHIVE = ROOT / "build-windows-release" / f"{NAME}-debug.zip"

# Architecture: the machine and optional-header magic of its PE files.
ARCHITECTURES = {"x86": (0x14C, 0x10B), "x64": (0x8664, 0x20B)}
ARCH_FILES = ("Varnel32.dll", "Varnel32.def", "Varnel32.lib", "libvarnel32.dll.a", "varnel.exe")
PROGRAMS = ("Varnel32.dll", "varnel.exe")
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}


def header_exports():
    """Each export's name and the bytes its arguments take on the 32-bit stack."""
    exports = {}
    for name, parameters in re.findall(r"^VN_EXPORT\b[^(;]*\bVN_CALL\s+(\w+)\s*\(([^)]*)\)", HEADER, re.M):
        parameters = [p.strip() for p in parameters.split(",") if p.strip() not in ("", "void")]
        exports[name] = sum(8 if p.startswith("double ") else 4 for p in parameters)
    return exports


class PortableExecutable:
    """The few parts of a PE file checked here: its machine, the names it exports and the DLLs it
    imports from."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        header = struct.unpack_from("<HHIIIHH", data, pe + 4)
        self.machine, sections, _, symbols, symbol_count, optional_size, _ = header
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.export_rva = struct.unpack_from("<I", data, directories)[0]
        self.import_rva = struct.unpack_from("<I", data, directories + 8)[0]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]
        # A name longer than eight bytes (.debug_info) is "/offset" into the string table after the symbols.
        names = [data[table + 40 * i:table + 40 * i + 8].rstrip(b"\0").decode("ascii") for i in range(sections)]
        self.section_names = [self.string_at(symbols + 18 * symbol_count + int(name[1:])) if name[:1] == "/" else name
                              for name in names]

    def string_at(self, start):
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def section(self, name):
        size, _, raw_size, raw = self.sections[self.section_names.index(name)]
        return self.data[raw:raw + min(size, raw_size)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise ValueError(f"RVA {rva:#x} in no section")

    def string(self, rva):
        return self.string_at(self.offset(rva))

    def exports(self):
        directory = self.offset(self.export_rva)
        count, names = struct.unpack_from("<I4xI", self.data, directory + 24)
        return [self.string(struct.unpack_from("<I", self.data, self.offset(names) + 4 * i)[0]) for i in range(count)]

    def imported_dlls(self):
        dlls, descriptor = [], self.offset(self.import_rva)
        while any(self.data[descriptor:descriptor + 20]):
            dlls.append(self.string(struct.unpack_from("<I", self.data, descriptor + 12)[0]))
            descriptor += 20
        return dlls


def archive_symbols(data):
    """The symbols an ar archive (a GNU import library or Microsoft's .lib alike) indexes: its first
    member, '/', counts them big-endian, gives their offsets, then their names."""
    if data[:8] != b"!<arch>\n" or data[8:10] != b"/ ":
        raise ValueError("no archive symbol index")
    count = struct.unpack_from(">I", data, 68)[0]
    names = data[72 + 4 * count:].split(b"\0")[:count]
    return {name.decode("ascii") for name in names}


class WindowsArchiveTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not ARCHIVE.is_file():
            raise FileNotFoundError(f"{ARCHIVE} is missing: scripts/package-windows.sh makes it")
        with zipfile.ZipFile(ARCHIVE) as archive:
            cls.files = {info.filename: archive.read(info) for info in archive.infolist() if not info.is_dir()}
        cls.exports = header_exports()

    def member(self, path):
        return self.files[f"{NAME}/{path}"]

    def test_layout(self):
        expected = {f"{NAME}/{path}" for path in ("README.txt", "include/varnel32.h", "examples/Barcodes.cs")}
        expected |= {f"{NAME}/{arch}/{file}" for arch in ARCHITECTURES for file in ARCH_FILES}
        self.assertEqual(set(self.files), expected)
        self.assertEqual(self.member("include/varnel32.h"), HEADER.encode())
        self.assertEqual(self.member("examples/Barcodes.cs"), (ROOT / "packaging/windows/Barcodes.cs").read_bytes())
        self.assertEqual(self.member("README.txt"), (ROOT / "packaging/windows/README.txt").read_bytes())

    def test_header_names_every_export(self):
        # The parse itself: the classic interface, the extensions and the contexts.
        self.assertGreaterEqual(len(self.exports), 50)
        self.assertEqual(self.exports["VnBasicInfo"], 28)
        self.assertEqual(self.exports["VnCtxRenderToMemory"], 16)

    def test_each_program_is_its_architecture_and_imports_only_windows(self):
        # The tool imports the library's DLL besides.
        for arch, (machine, magic) in ARCHITECTURES.items():
            for program, allowed in zip(PROGRAMS, (WINDOWS_DLLS, WINDOWS_DLLS | {"varnel32.dll"})):
                with self.subTest(arch=arch, program=program):
                    executable = PortableExecutable(self.member(f"{arch}/{program}"))
                    self.assertEqual((executable.machine, executable.magic), (machine, magic))
                    self.assertLessEqual({name.lower() for name in executable.imported_dlls()}, allowed)

    def test_each_program_carries_no_debug_sections_but_its_debug_files_name_and_crc(self):
        with zipfile.ZipFile(DEBUG_ARCHIVE) as archive:
            debug = {info.filename: archive.read(info) for info in archive.infolist()}
        for arch, program in itertools.product(ARCHITECTURES, PROGRAMS):
            with self.subTest(arch=arch, program=program):
                executable = PortableExecutable(self.member(f"{arch}/{program}"))
                self.assertEqual([name for name in executable.section_names if name.startswith(".debug")], [])
                link = executable.section(".gnu_debuglink")
                self.assertEqual(link[:-4].rstrip(b"\0"), f"{program}.debug".encode())
                self.assertEqual(link[-4:], struct.pack("<I", zlib.crc32(debug[f"{NAME}/{arch}/{program}.debug"])))

    def test_both_dlls_export_every_export_of_the_header_by_its_plain_name(self):
        for arch in ARCHITECTURES:
            with self.subTest(arch=arch):
                exported = PortableExecutable(self.member(f"{arch}/Varnel32.dll")).exports()
                self.assertEqual(sorted(exported), sorted(self.exports))

    def test_the_def_files_list_every_export(self):
        decorated = {f"{name}@{size}" for name, size in self.exports.items()}
        for arch, expected in (("x86", decorated), ("x64", set(self.exports))):
            with self.subTest(arch=arch):
                text = self.member(f"{arch}/Varnel32.def").decode("ascii")
                listed = re.findall(r"^\s+(\S+)\s*$", text.split("EXPORTS", 1)[1], re.M)
                self.assertEqual(sorted(listed), sorted(expected))

    def test_both_import_libraries_bind_every_export(self):
        # A caller's reference: the 32-bit one decorated as __stdcall, with C's underscore.
        references = {"x86": {f"__imp__{name}@{size}" for name, size in self.exports.items()},
                      "x64": {f"__imp_{name}" for name in self.exports}}
        for arch in ARCHITECTURES:
            for library in ("Varnel32.lib", "libvarnel32.dll.a"):
                with self.subTest(arch=arch, library=library):
                    symbols = archive_symbols(self.member(f"{arch}/{library}"))
                    self.assertLessEqual(references[arch], symbols)

    def test_the_readme_table_names_every_export(self):
        # Each by its name; the VnCtx forms by the one row that covers them all.
        readme = (ROOT / "README.md").read_text()
        table = readme[readme.index("### Exports"):readme.index("\n## ", readme.index("### Exports"))]
        named = set(re.findall(r"`(Vn\w+)`", table))
        self.assertEqual(sorted(n for n in self.exports if n not in named and not n.startswith("VnCtx")), [])

    def test_the_dotnet_example_declares_every_export(self):
        text = self.member("examples/Barcodes.cs").decode("utf-8")
        declared = re.findall(r"\bstatic extern [^(]*\b(Vn\w+)\(", text)
        self.assertEqual(sorted(declared), sorted(self.exports))


if __name__ == "__main__":
    unittest.main(verbosity=2)
