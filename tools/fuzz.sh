#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/, and runs each for the given number of seconds (default 30) from a fresh copy of
# its seed corpus. A crash is written to build-fuzz/crashes/<target>/ and makes the script exit
# non-zero. Without clang it says so on standard error and exits 0.
#   usage: tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "fuzz.sh: the run time must be a whole number of seconds, not '$seconds'." >&2
  exit 2
fi
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz.sh: clang++ is not installed, so there is no fuzz run." >&2
  exit 0
fi

build=build-fuzz
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLFEN_FUZZ=ON -DQUILLFEN_TESTS=OFF >&2
targets_file="$build/fuzz-targets.txt"
targets=()
while read -r program corpus; do
  targets+=("$(basename "$program")")
done <"$targets_file"
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz targets are listed in $targets_file." >&2
  exit 1
fi
cmake --build "$build" --target "${targets[@]}" -j2 >&2

failed=()
while read -r program corpus; do
  name="$(basename "$program")"
  work="$build/corpus/$name"
  crashes="$build/crashes/$name"
  rm -rf "$work"
  mkdir -p "$work" "$crashes"
  cp -R "$corpus"/. "$work"/
  echo "fuzz.sh: running $name for $seconds s from $corpus; crashes go to $crashes/" >&2
  if ! "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$crashes/" "$work" >&2 </dev/null; then
    failed+=("$name")
  fi
done <"$targets_file"

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz.sh: ${failed[*]} crashed; the inputs are in $build/crashes/." >&2
  exit 1
fi
echo "fuzz.sh: every fuzz target ran $seconds s without a crash." >&2
