#!/usr/bin/env bash
# Renders the sample barcodes into samples/ for a person to look at.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target varnel_samples
build/tools/varnel_samples "$PWD/samples"
