#!/usr/bin/env python3
"""Writes the C++ table of GS1 application identifiers from GS1's Barcode Syntax Dictionary.

    gs1_ai_table.py DICTIONARY OUTPUT.h

Each entry of the dictionary becomes a constexpr Gs1Ai (src/symbologies/gs1_dictionary.h): its AI or
run of AIs, whether its length is predefined (the "*" flag), its components (character set, length,
optional or not, the checks named on it) and its req= and ex= attributes. The dictionary's header
explains its syntax. GS1's rule that a digital signature signs one instance of a key is added to the
requisites it lists for the signature (see SIGNED_INSTANCES). A line this script does not understand
stops the build, rather than leaving an AI out or reading it wrongly; so does a rule of the syntax an
entry breaks."""
import re
import sys

COMPONENT = re.compile(r"^(?P<open>\[)?(?P<charset>[NXYZ])(?P<range>\.\.)?(?P<length>\d+)(?P<close>\])?"
                       r"(?P<linters>(?:,[a-z0-9]+)*)$")
AIS = re.compile(r"^(?P<first>\d{2,4})(?:-(?P<last>\d{2,4}))?$")
FLAG_CHARACTERS = set("*!?\"$%&'()+,-./:;<=>@[\\]^_`{|}~")
CHARSETS = {"N": "kNumeric", "X": "kSet82", "Y": "kSet39", "Z": "kSet64"}


# A digital signature, AI (8030), signs one instance of a thing, so the key beside it must carry its
# serial. The dictionary writes the compound keys so ("01+21"), but for a key whose serial is its own
# optional component, as (253), (255) and (8003), it can only name the key; the table asks for the
# serial too, as "253:serial" (kWithSerial in src/symbologies/gs1_dictionary.h).
SIGNED_INSTANCES = {"8030"}
WITH_SERIAL = ":serial"


def fail(number, line, why):
    sys.exit(f"gs1_ai_table.py: line {number}: {why}: {line}")


def parse_component(token):
    match = COMPONENT.match(token)
    if not match or bool(match["open"]) != bool(match["close"]):
        return None
    length = int(match["length"])
    return {
        "charset": CHARSETS[match["charset"]],
        "min": 1 if match["range"] else length,
        "max": length,
        "optional": bool(match["open"]),
        "linters": [name for name in match["linters"].split(",") if name],
    }


def parse_entry(number, line):
    body = line.split("#", 1)[0].split()
    ais = AIS.match(body[0])
    if not ais:
        fail(number, line, "not an AI or a run of AIs")
    first, last = ais["first"], ais["last"] or ais["first"]
    if len(first) != len(last) or first > last:
        fail(number, line, "a run of AIs of two lengths, or backwards")
    rest = body[1:]
    flags = ""
    if rest and set(rest[0]) <= FLAG_CHARACTERS:
        flags = rest.pop(0)
    components = []
    while rest and (component := parse_component(rest[0])) is not None:
        components.append(component)
        rest.pop(0)
    if not components:
        fail(number, line, "no components")
    for i, component in enumerate(components):
        if component["min"] != component["max"] and i != len(components) - 1:
            fail(number, line, "a variable length before the last component")
        if i > 0 and components[i - 1]["optional"] and not component["optional"]:
            fail(number, line, "a mandatory component after an optional one")
    required, excluded = [], []
    for attribute in rest:
        key, _, value = attribute.partition("=")
        if not re.fullmatch(r"[a-z]+", key):
            fail(number, line, f"not an attribute: {attribute}")
        if key in ("req", "ex") and not re.fullmatch(r"[0-9n]+(?:\+[0-9n]+)*(?:,[0-9n]+(?:\+[0-9n]+)*)*", value):
            fail(number, line, f"not a list of AIs: {attribute}")
        if key == "req":
            required.append(value)
        elif key == "ex":
            excluded.append(value)
    return {
        "first": first,
        "last": last,
        "predefined": "*" in flags,
        "components": components,
        "required": " ".join(required),
        "excluded": ",".join(excluded),
    }


def read_dictionary(path):
    entries = []
    with open(path, encoding="utf-8") as dictionary:
        for number, line in enumerate(dictionary, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            entries.append(parse_entry(number, line))
    if not entries:
        sys.exit(f"gs1_ai_table.py: no entries in {path}")
    return entries


def require_serials(entries):
    with_serial = {entry["first"] for entry in entries
                   if entry["first"] == entry["last"] and entry["components"][-1]["optional"]}
    for entry in entries:
        if entry["first"] not in SIGNED_INSTANCES:
            continue
        entry["required"] = " ".join(
            ",".join(alternative + WITH_SERIAL if alternative in with_serial else alternative
                     for alternative in requisite.split(","))
            for requisite in entry["required"].split())
    return entries


def cpp_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def write_table(entries, path):
    linters, components, ais = [], [], []
    for entry in entries:
        first_component = len(components)
        for component in entry["components"]:
            first_linter = len(linters)
            linters.extend(f"Gs1LinterNamed({cpp_string(name)})" for name in component["linters"])
            span = f"std::span(kLinters + {first_linter}, {len(component['linters'])})"
            components.append(
                f"    {{Gs1Charset::{component['charset']}, {component['min']}, {component['max']}, "
                f"{'true' if component['optional'] else 'false'}, {span}}},")
        ais.append(
            f"    {{{cpp_string(entry['first'])}, {cpp_string(entry['last'])}, "
            f"{'true' if entry['predefined'] else 'false'}, "
            f"std::span(kComponents + {first_component}, {len(entry['components'])}), "
            f"{cpp_string(entry['required'])}, {cpp_string(entry['excluded'])}}},")
    with open(path, "w", encoding="utf-8") as out:
        out.write("// Written by cmake/gs1_ai_table.py from GS1's Barcode Syntax Dictionary at every build: do not edit.\n"
                  "#pragma once\n\n"
                  "#include <span>\n\n"
                  "#include \"symbologies/gs1_dictionary.h\"\n\n"
                  "namespace varnel::gs1_table {\n\n"
                  # A table of no checks at all still needs an element.
                  f"inline constexpr Gs1Linter kLinters[] = {{\n    {', '.join(linters) or 'Gs1Linter::kUnchecked'},\n}};\n\n"
                  "inline constexpr Gs1Component kComponents[] = {\n" + "\n".join(components) + "\n};\n\n"
                  "inline constexpr Gs1Ai kAis[] = {\n" + "\n".join(ais) + "\n};\n\n"
                  "}  // namespace varnel::gs1_table\n")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gs1_ai_table.py DICTIONARY OUTPUT.h")
    write_table(require_serials(read_dictionary(sys.argv[1])), sys.argv[2])


main()
