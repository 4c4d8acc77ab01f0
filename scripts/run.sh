#!/usr/bin/env bash
# Installs what is needed, builds the program, creates a demo database when none exists and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target quorvane
program=build/bin/quorvane
if [ ! -f build/bin/helpdesk-e.mdb ]; then
  "$program" --create-database --demo --admin-password admin
  echo "Demo database created. Log in as ADMIN with password 'admin' (or the technician JTT-1 with password 'tech')."
fi
exec "$program" "$@"
