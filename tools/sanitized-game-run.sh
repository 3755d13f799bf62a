#!/usr/bin/env bash
# Starts the sanitizer build of the game in assets/ under the current X display, recording the
# session, lets it run for a few seconds, closes it with SIGTERM (which the game takes as a
# window close) and fails unless it ends with status 0, without any sanitizer or leak report,
# and with a complete recording (the close, the last step's checkpoint and the end line). The sanitizers' environment
# comes from sanitizer-env.sh, which CMake writes into the game's build folder.
set -euo pipefail
game=$(realpath "$1")
seconds=${2:-5}
cd "$(dirname "$0")/.."
source "$(dirname "$game")/sanitizer-env.sh"
log=$(mktemp)
recording=$(mktemp)
trap 'rm -f "$log" "$recording"' EXIT
cd assets
QUILLFEN_RECORD="$recording" "$game" > /dev/null 2> "$log" &
pid=$!
sleep "$seconds"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
last_step=$(grep -E '^[0-9]+ check ' "$recording" | tail -n 1 | cut -d ' ' -f 1)
if [ "$status" -ne 0 ] || grep -q -E 'Sanitizer|runtime error' "$log" ||
   ! grep -q -x "$((last_step + 1)) quit" "$recording" ||
   [ "$(tail -n 1 "$recording")" != "# end: SIGTERM" ]; then
  cat "$log" >&2
  tail -n 5 "$recording" >&2
  echo "The sanitized game run failed (exit status $status)." >&2
  exit 1
fi
echo "The sanitized game ran ${seconds} s and closed cleanly." >&2
