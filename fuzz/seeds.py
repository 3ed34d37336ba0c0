#!/usr/bin/env python3
"""Writes the seed corpus, fuzz/corpus/<target>/, in the input layout of fuzz_input.h.

A seed per symbology for every target that draws it, each with a message the symbology accepts,
so that fuzzing starts from pictures that are drawn rather than refused; and a few seeds of
hostile values (NaN and infinite centimetres, INT_MIN font heights, 999-byte texts, huge sizes).
Inputs that once found a fault are kept beside the seeds as found-*, and are not written here.
Run it again after changing the input layout: python3 fuzz/seeds.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# One message each symbology draws, by symbology number.
MESSAGES = [
    b"A1234B", b"123-45", b"Code 128 \xff", b"CODE 39", b"code 39 ascii", b"CODE-93",
    b"0123456789", b"590123412345", b"9638507", b"12345670", b"0306406152", b"490123456789",
    b"4912345", b"123456", b"80523", b"40123456789", b"555551237", b"001234567890123456",
    b"10614141000415", b"03600029145", b"04210000526", b"[01]09501101530003[3103]001250[10]Lot(7)",
    b"15400141288763",
]
EAN_UPC = {7, 8, 10, 11, 12, 19, 20}


def byte(value):
    return bytes([value & 0xFF])


def int_field(value):
    if -128 <= value <= 127:
        return b"\x00" + byte(value)
    return b"\x02" + struct.pack("<i", value)


def double_field(value):
    if not math.isnan(value) and not math.isinf(value) and float(round(value * 100)) == value * 100 \
            and -128 <= round(value * 100) <= 127:
        return b"\x01" + byte(round(value * 100))
    return b"\x02" + struct.pack("<d", value)


def text_field(text):
    if text is None:
        return b"\x00"
    if len(text) <= 255:
        return b"\x01" + byte(len(text)) + text
    raise ValueError("long texts are written as a pattern: use long_text_field")


def long_text_field(length, pattern):
    return b"\x02" + byte(length - 997) + byte(len(pattern) - 1) + pattern


# ---- The exports target ------------------------------------------------------------------------

SETTER = {"default": 0, "size": 1, "message": 2, "font": 3, "text": 4, "codabar": 5, "upce": 6,
          "supplement": 7, "basic": 8, "back": 9, "bar": 10, "screen": 11,
          "bar_height": 18, "transparent": 19}
OUTPUT = {"bmp": 12, "wmf": 13, "emf": 14, "svg": 15, "png": 16, "clipboard": 17}


def basic_info(symbology, narrow, ratio, orientation, frame):
    # The first choice byte (nonzero) keeps the symbology among those that exist.
    return (byte(SETTER["basic"]) + b"\x01" + byte(symbology) + double_field(narrow) + double_field(ratio)
            + int_field(orientation) + int_field(frame))


def exports_seeds():
    seeds = []
    outputs = list(OUTPUT)
    for number, message in enumerate(MESSAGES):
        calls = basic_info(number, 0.07, 2.0, number % 4, number % 3)
        calls += byte(SETTER["message"]) + text_field(message)
        calls += byte(SETTER["text"]) + int_field(1) + int_field(number % 2) + int_field(1)
        if number in EAN_UPC:
            calls += byte(SETTER["supplement"]) + int_field(1 + number % 2) + text_field(b"12345") + double_field(0.5)
        output = outputs[number % len(outputs)]
        seeds.append(b"\x00" + calls + byte(OUTPUT[output]) + b"\x00\x00\x00")
    # Hostile settings, every output.
    hostile = (basic_info(2, float("nan"), float("inf"), 3, 1)
               + byte(SETTER["font"]) + text_field(None) + int_field(-2**31)
               + byte(SETTER["message"]) + long_text_field(999, bytes(range(1, 256)))
               + byte(SETTER["supplement"]) + int_field(2) + text_field(b"\x80\xff") + double_field(1e300))
    for output in outputs:
        seeds.append(b"\x00" + hostile + byte(OUTPUT[output]) + b"\x01\x00\x00")
    huge_centimetres = basic_info(3, 1e30, 1e9, 1, 2) + byte(SETTER["screen"]) + int_field(2**31 - 1) + int_field(1)
    for output in outputs:
        seeds.append(b"\x00" + huge_centimetres + byte(OUTPUT[output]) + b"\x00\x00\x00")
    # Huge pictures, where only refusals and metafiles are asked for.
    huge = byte(SETTER["size"]) + int_field(2**31 - 1) + int_field(2**31 - 1) + basic_info(3, 0.07, 2.0, 0, 1)
    for output in outputs:
        seeds.append(b"\x01" + huge + byte(OUTPUT[output]) + b"\x00\x00\x00")
    # Bars of every height, a background that may be clear: an everyday one and an infinite one.
    for height in (3.0, float("inf")):
        tall_clear = (basic_info(7, 0.07, 2.0, 2, 1) + byte(SETTER["message"]) + text_field(b"590123412345")
                      + byte(SETTER["bar_height"]) + double_field(height)
                      + byte(SETTER["transparent"]) + int_field(1))
        for output in outputs:
            seeds.append(b"\x00" + tall_clear + byte(OUTPUT[output]) + b"\x00\x00\x00")
    return seeds


# ---- The encoder family targets -----------------------------------------------------------------

FAMILIES = {
    "code39_code93": [3, 4, 5],
    "code128": [2, 6, 17, 18, 21],
    "ean_upc": [7, 11, 10, 8, 12, 19, 20],
    "codabar_code11": [0, 1],
    "numeric": [9, 13, 14, 15, 16, 22],
}


def encoder_seed(member, message, show, add, in_text, supplement_kind, orientation, font_height=None,
                 narrow=2, wide=5, message_field=None):
    seed = byte(member)
    seed += int_field(show) + int_field(add) + int_field(in_text)
    seed += int_field(0) + int_field(1)  # Codabar A ... B
    seed += int_field(orientation % 2)  # UPC-E number system
    seed += int_field(supplement_kind) + text_field(b"12345") + double_field(0.5)
    seed += byte(orientation)
    seed += b"\x01" if font_height is None else b"\x00" + int_field(font_height)
    seed += message_field if message_field is not None else text_field(message)
    seed += b"\x02\x40" + b"\x01\x20"  # a picture of 145 by 73
    # 96 pixels per inch both ways, narrow and wide widths as everyday values, bars of 56.
    seed += (b"\x00" + int_field(96)) * 2 + b"\x01" + byte(narrow - 1) + b"\x01" + byte(wide) + b"\x01"
    seed += b"\x01\x05" + b"\x01\x03"  # offsets
    seed += byte(orientation % 3)  # the file encoder
    return seed


def family_seeds(numbers):
    seeds = []
    for member, number in enumerate(numbers):
        message = MESSAGES[number]
        for variant in range(4):
            seeds.append(encoder_seed(member, message, 1, variant % 2, variant // 2, variant % 3, variant))
        seeds.append(encoder_seed(member, message, 1, 1, 1, 2, 1, font_height=-2**31, narrow=1, wide=0))
        seeds.append(encoder_seed(member, message, 1, 1, 1, 1, 0, message_field=long_text_field(999, message)))
    return seeds


def write(target, seeds):
    """Replaces the target's seed-NN files; other files there (inputs that once found a fault) stay."""
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        if name.startswith("seed-"):
            os.remove(os.path.join(folder, name))
    for index, seed in enumerate(seeds):
        with open(os.path.join(folder, "seed-%02d" % index), "wb") as f:
            f.write(seed)


def main():
    write("exports", exports_seeds())
    for target, numbers in FAMILIES.items():
        write(target, family_seeds(numbers))


if __name__ == "__main__":
    main()
