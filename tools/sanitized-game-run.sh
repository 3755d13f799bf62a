#!/usr/bin/env bash
# Starts the sanitizer build of the game in assets/ under the current X display, lets it run
# for a few seconds, closes it with SIGTERM (which SDL turns into a window close) and fails
# unless it ends with status 0 and without any sanitizer or leak report. The sanitizers'
# environment comes from sanitizer-env.sh, which CMake writes into the game's build folder.
set -euo pipefail
game=$(realpath "$1")
seconds=${2:-5}
cd "$(dirname "$0")/.."
source "$(dirname "$game")/sanitizer-env.sh"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
cd assets
"$game" > /dev/null 2> "$log" &
pid=$!
sleep "$seconds"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
if [ "$status" -ne 0 ] || grep -q -E 'Sanitizer|runtime error' "$log"; then
  cat "$log" >&2
  echo "The sanitized game run failed (exit status $status)." >&2
  exit 1
fi
echo "The sanitized game ran ${seconds} s and closed cleanly." >&2
