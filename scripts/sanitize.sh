#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in its own folder and
# runs every test headless: once on the encrypted file, and once more on a throwaway PostgreSQL
# server, so that the server's code runs under the sanitizers too. A finding stops the test that
# made it, so the run fails. Arguments go to ctest (for example -R purge).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-sanitize
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export FONTCONFIG_FILE="$PWD/$build/tests/fonts.conf"
export QT_QPA_PLATFORM=offscreen
status=0
(cd "$build" && ctest --output-on-failure -j"$(nproc)" "$@") || status=$?

# The install layout holds no shop, so it is checked once, with the file. Quoted, the arguments
# reach ctest unchanged inside the cluster's shell.
bash scripts/pg-test-cluster.sh run -- bash -c \
    'cd "$0" && ctest --output-on-failure -j"$(nproc)" --timeout 1800 -E "^install/" "$@"' \
    "$build" "$@" || status=$?
exit "$status"
