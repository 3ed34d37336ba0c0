#!/usr/bin/env python3
"""Writes the ISO country and currency codes that GS1's content checks look up, from the JSON files
of the iso-codes package (Debian's iso-codes, /usr/share/iso-codes/json).

    iso_code_lists.py ISO_3166-1.json ISO_4217.json OUTPUT.h

Three sorted constexpr lists: the ISO 3166-1 numeric country codes, their two-letter codes, and the
ISO 4217 numeric currency codes, each as the text it is written with in GS1 data."""
import json
import re
import sys


def read(path, key, field, pattern):
    with open(path, encoding="utf-8") as source:
        entries = json.load(source)[key]
    codes = sorted({entry[field] for entry in entries if field in entry})
    wrong = [code for code in codes if not re.fullmatch(pattern, code)]
    if not codes or wrong:
        sys.exit(f"iso_code_lists.py: {path}: no {field} codes, or codes not like {pattern}: {wrong[:5]}")
    return codes


def cpp_list(name, codes, what):
    lines = []
    for start in range(0, len(codes), 12):
        lines.append("    " + " ".join(f'"{code}",' for code in codes[start:start + 12]))
    return f"// {what}, sorted.\ninline constexpr std::string_view {name}[] = {{\n" + "\n".join(lines) + "\n};\n"


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: iso_code_lists.py ISO_3166-1.json ISO_4217.json OUTPUT.h")
    countries, currencies, output = sys.argv[1:]
    numeric = read(countries, "3166-1", "numeric", r"\d{3}")
    alpha2 = read(countries, "3166-1", "alpha_2", r"[A-Z]{2}")
    currency = read(currencies, "4217", "numeric", r"\d{3}")
    with open(output, "w", encoding="utf-8") as out:
        out.write("// Written by cmake/iso_code_lists.py from the iso-codes package at every build: do not edit.\n"
                  "#pragma once\n\n"
                  "#include <string_view>\n\n"
                  "namespace varnel::iso_codes {\n\n"
                  + cpp_list("kCountryNumeric", numeric, "ISO 3166-1 numeric country codes") + "\n"
                  + cpp_list("kCountryAlpha2", alpha2, "ISO 3166-1 two-letter country codes") + "\n"
                  + cpp_list("kCurrencyNumeric", currency, "ISO 4217 numeric currency codes") + "\n"
                  "}  // namespace varnel::iso_codes\n")


main()
