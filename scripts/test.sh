#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test headless: once on the encrypted
# file, and once more with each test's shop in a database of its own on a throwaway PostgreSQL
# server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
# Only the fonts the program ships, as on a machine without any (ctest sets the same per test).
export FONTCONFIG_FILE="$PWD/build/tests/fonts.conf"
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$(nproc)")

# The install layout is checked once, with the file: it holds no shop.
bash scripts/pg-test-cluster.sh run -- bash -c \
    "cd build && ctest --output-on-failure -j$(nproc) --timeout 600 -E '^install/'"
