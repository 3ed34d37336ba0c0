"""Renders a second of the Python binding's Barcode(...).to_bytes("png") for EAN-13 and Code 128,
beside the same render from C++ (varnel_binding_baseline), in the same run: each side renders
RENDERS pictures RUNS times, the two taking turns so that the machine's drift falls on both alike,
and the fastest run of each counts, in processor time, so that other processes weigh less. The
ratio is the binding's time over the C call's; the target is at most 1.5. The varnel32 package and
the baseline must come from the same build (VARNEL32_LIBRARY).

    python3 bench/python_binding.py BUILD/bench/varnel_binding_baseline
"""

import os
import subprocess
import sys
import tempfile
import time

from varnel32 import Barcode

CASES = [("ean13", "5901234123457"), ("code128", "Varnel-128")]
RENDERS = 3000
RUNS = 9
TARGET = 1.5


def python_seconds(barcode: Barcode) -> float:
    start = time.process_time()
    for _ in range(RENDERS):
        barcode.to_bytes("png")
    return time.process_time() - start


def c_seconds(baseline: str, symbology: str, data: str, picture: str) -> float:
    ran = subprocess.run([baseline, symbology, data, str(RENDERS), picture], capture_output=True, text=True,
                         check=True, timeout=600)
    return float(ran.stdout)


def main() -> int:
    baseline = sys.argv[1]
    print(f"{'symbology':<10}{'C renders/s':>14}{'Python renders/s':>18}{'ratio':>8}")
    missed = []
    with tempfile.TemporaryDirectory() as folder:
        picture = os.path.join(folder, "baseline.png")
        for symbology, data in CASES:
            barcode = Barcode(symbology=symbology, data=data)
            barcode.to_bytes("png")  # fonts found and cached, as the baseline's first render does too
            c_runs, python_runs = [], []
            for _ in range(RUNS):
                c_runs.append(c_seconds(baseline, symbology, data, picture))
                python_runs.append(python_seconds(barcode))
            with open(picture, "rb") as drawn:
                if drawn.read() != barcode.to_bytes("png"):
                    print(f"{symbology}: the baseline's picture is not the binding's", file=sys.stderr)
                    return 1
            ratio = min(python_runs) / min(c_runs)
            print(f"{symbology:<10}{RENDERS / min(c_runs):>14.0f}{RENDERS / min(python_runs):>18.0f}{ratio:>8.2f}")
            if ratio > TARGET:
                missed.append(symbology)
    print(f"target (ratio <= {TARGET}): " + (f"missed by {', '.join(missed)}" if missed else "met"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
