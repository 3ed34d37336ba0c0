"""The `varnel` tool, run with the command line that says what a Barcode's keywords say, for the
suites to hold the binding's pictures, refusals and warnings to the tool's."""

import os
import subprocess
import unittest

# Keyword: the tool's option, and how its value is written there; None for a switch.
_OPTIONS = {
    "symbology": ("--symbology", str),
    "narrow_cm": ("--narrow", repr),
    "ratio": ("--ratio", repr),
    "orientation": ("--orientation", str),
    "frame": ("--frame", str),
    "font": ("--font", str),
    "font_height": ("--font-height", str),
    "check_in_text": ("--check-in-text", None),
    "codabar_start": ("--start", str),
    "codabar_stop": ("--stop", str),
    "upce_system": ("--upce-system", str),
    "addon": ("--addon", str),
    "addon_gap_cm": ("--addon-gap", repr),
    "bar_color": ("--bar-color", str),
    "back_color": ("--background-color", str),
    "quiet_zone": ("--quiet-zone", str),
    "x_dim": ("--x-dim", str),
    "bar_height": ("--bar-height", str),
    "transparent": ("--transparent", None),
}


def tool_path(test: unittest.TestCase) -> str:
    """The tool built with the library, which ctest names in VARNEL_TOOL."""
    tool = os.environ.get("VARNEL_TOOL")
    if not tool:
        test.skipTest("VARNEL_TOOL does not name the tool built with the library")
    return tool


def command_line(options: dict) -> list:
    """The tool's options for a Barcode's keywords, the data last."""
    arguments = []
    for keyword, value in options.items():
        if keyword in ("data", "width", "height", "dpi", "show_text", "check_digit"):
            continue
        option, written = _OPTIONS[keyword]
        if written is None:
            arguments += [option] if value else []
        else:
            arguments += [option, written(value)]
    if "width" in options:
        arguments += ["--size", f"{options['width']}x{options['height']}"]
    dpi = options.get("dpi")
    if dpi is not None:
        arguments += ["--dpi", f"{dpi[0]}x{dpi[1]}" if isinstance(dpi, tuple) else str(dpi)]
    if options.get("show_text") is False:
        arguments.append("--no-text")
    if options.get("check_digit") is not None:
        arguments.append("--check" if options["check_digit"] else "--no-check")
    data = options.get("data", "1234")
    if isinstance(data, bytes):
        arguments.append("--raw")
    return arguments + ["--", data]


def run_tool(test: unittest.TestCase, options: dict, format: str) -> subprocess.CompletedProcess:
    """The tool's picture of the barcode in `format`, onto standard output."""
    return subprocess.run([tool_path(test), "-f", format, "-o", "-", *command_line(options)],
                          capture_output=True, timeout=60)
