#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
cd build
# Only the fonts the program ships, as on a machine without any (ctest sets the same per test).
export FONTCONFIG_FILE="$PWD/tests/fonts.conf"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
