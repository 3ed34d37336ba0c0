#!/usr/bin/env python3
"""Writes the code lists that GS1's content checks look up, from the project's data files in
third_party/code-lists.

    code_lists.py ISO-CODES.txt PACKAGE-TYPES.txt OUTPUT.h

Four sorted constexpr lists: the ISO 3166-1 numeric country codes and their two-letter codes, the
ISO 4217 numeric currency codes, and GS1's package type codes, each as the text it is written with
in GS1 data. A line the script does not understand stops the build, rather than leaving a code out."""
import re
import sys

ISO_LINE = re.compile(r"^(?:country  (?P<country>\d{3}) (?P<alpha2>[A-Z]{2})"
                      r"|currency (?P<currency>\d{3}) [A-Z]{3})\s+\S")
PACKAGE_TYPE = re.compile(r"[0-9A-Z]{1,3}")


def data_lines(path):
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            if line.strip() and not line.startswith("#"):
                yield number, line.rstrip("\n")


def fail(path, number, line):
    sys.exit(f"code_lists.py: {path}: line {number} is not understood: {line}")


def read_iso_codes(path):
    numeric, alpha2, currency = set(), set(), set()
    for number, line in data_lines(path):
        match = ISO_LINE.match(line)
        if not match:
            fail(path, number, line)
        if match["country"]:
            numeric.add(match["country"])
            alpha2.add(match["alpha2"])
        else:
            currency.add(match["currency"])
    if not numeric or not currency:
        sys.exit(f"code_lists.py: {path}: no countries or no currencies")
    return sorted(numeric), sorted(alpha2), sorted(currency)


def read_package_types(path):
    codes = set()
    for number, line in data_lines(path):
        for code in line.split():
            if not PACKAGE_TYPE.fullmatch(code):
                fail(path, number, line)
            codes.add(code)
    if not codes:
        sys.exit(f"code_lists.py: {path}: no package types")
    return sorted(codes)


def cpp_list(name, codes, what):
    lines = []
    for start in range(0, len(codes), 12):
        lines.append("    " + " ".join(f'"{code}",' for code in codes[start:start + 12]))
    return f"// {what}, sorted.\ninline constexpr std::string_view {name}[] = {{\n" + "\n".join(lines) + "\n};\n"


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: code_lists.py ISO-CODES.txt PACKAGE-TYPES.txt OUTPUT.h")
    iso_codes, package_types, output = sys.argv[1:]
    numeric, alpha2, currency = read_iso_codes(iso_codes)
    packages = read_package_types(package_types)
    with open(output, "w", encoding="utf-8") as out:
        out.write("// Written by cmake/code_lists.py from third_party/code-lists at every build: do not edit.\n"
                  "#pragma once\n\n"
                  "#include <string_view>\n\n"
                  "namespace varnel::code_lists {\n\n"
                  + cpp_list("kCountryNumeric", numeric, "ISO 3166-1 numeric country codes") + "\n"
                  + cpp_list("kCountryAlpha2", alpha2, "ISO 3166-1 two-letter country codes") + "\n"
                  + cpp_list("kCurrencyNumeric", currency, "ISO 4217 numeric currency codes") + "\n"
                  + cpp_list("kPackageTypes", packages, "GS1 package type codes") + "\n"
                  "}  // namespace varnel::code_lists\n")


main()
