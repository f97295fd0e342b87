#!/usr/bin/env bash
# Sets up what is missing, builds, creates the demo database, registers this machine to the demo
# dealer BAYI1, starts zenvo-server on 127.0.0.1:9090 and the client against it. Closing the
# client stops the server; without a display the server keeps running until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
db=build/demo.db
if [ ! -f "$db" ]; then
  build/bin/zenvo-server init --db "$db" --demo --items "${DEMO_ITEMS:-20000}"
fi

demo_user=${DEMO_USER:-BAYI1}
machine=$(build/bin/zenvo --print-machine-id)
if [ -z "$machine" ]; then
  echo "This machine reports no disk serial and no network adapter address: it cannot be" >&2
  echo "registered, and the client will show the request form instead of the login." >&2
else
  build/bin/zenvo-server register --db "$db" --machine "$machine" --user "$demo_user"
fi
# The client reads its server's host from ip.txt next to it.
echo "127.0.0.1" > build/bin/ip.txt

echo "Demo users (name, user type, customer account); every password is 1234:"
build/bin/zenvo-server users --db "$db"

build/bin/zenvo-server --db "$db" --listen 127.0.0.1 --port 9090 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT INT TERM

# Wait until the server answers (at most 15 s).
for _ in $(seq 150); do
  if ! kill -0 "$server" 2>/dev/null; then
    echo "zenvo-server did not start (is port 9090 already in use?)" >&2
    exit 1
  fi
  if (exec 3<>/dev/tcp/127.0.0.1/9090) 2>/dev/null; then
    break
  fi
  sleep 0.1
done
if ! (exec 3<>/dev/tcp/127.0.0.1/9090) 2>/dev/null; then
  echo "zenvo-server does not answer on 127.0.0.1:9090" >&2
  exit 1
fi

# The program is Turkish: without a language of the user's own, show Turkish number formats.
case "${LC_ALL:-${LANG:-C}}" in
  C | C.* | POSIX)
    unset LC_ALL
    export LC_NUMERIC=tr_TR.UTF-8 LC_TIME=tr_TR.UTF-8 LC_MONETARY=tr_TR.UTF-8
    ;;
esac

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the client; log in as $demo_user with the password 1234."
  build/bin/zenvo || true
else
  echo "No display here. zenvo-server runs on 127.0.0.1:9090 (Ctrl+C stops it)."
  echo "Start the client on this machine's desktop with:  build/bin/zenvo"
  echo "or headless, for a look:  xvfb-run -a build/bin/zenvo"
  wait "$server"
fi
