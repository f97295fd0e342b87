#!/usr/bin/env bash
# Sets up what is missing, builds, creates the demo database and starts zenvo-server on
# 127.0.0.1:9090 (Ctrl+C stops it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
db=build/demo.db
if [ ! -f "$db" ]; then
  build/bin/zenvo-server init --db "$db" --demo --items "${DEMO_ITEMS:-20000}"
fi
echo "Demo users (name, user type, customer account):"
build/bin/zenvo-server users --db "$db"
exec build/bin/zenvo-server --db "$db" --listen 127.0.0.1 --port 9090
