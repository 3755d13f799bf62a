#!/usr/bin/env bash
# The browser build's tests, after ./check's native build in build/:
#   - the replay tool built for node runs the native tool's golden, level and bad-request tests
#     (the same traces, logs and exit statuses, byte for byte);
#   - the page in Debian's chromium, driven by playwright-core (tests/web/browser_test.mjs),
#     under an Xvfb server of its own, where the native tool draws the frames it compares;
#   - the level editor's module in chromium against the native quillfen-describe-level
#     (tests/web/level_core_test.mjs);
#   - the level editor (edit.html) in chromium, its problems against the native quillfen-lint
#     and its play-test's recording against the native replay tool (tests/web/editor_test.mjs).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --web --browser
tools/build-web.sh
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

echo "== the replay tool under node, through the native tool's tests" >&2
QUILLFEN_REPLAY_COMMAND="node --no-experimental-fetch $PWD/build-web/quillfen-replay.js" \
  build/tests/quillfen_tests \
  --gtest_filter='ReplayTool.GoldenRuns*:ReplayTool.LevelsEcho*:ReplayTool.TheCommittedScripts*:ReplayTool.RefusesBadRequests*'

echo "== the page in chromium" >&2
QUILLFEN_SITE="$PWD/build-web/site" QUILLFEN_ASSETS="$PWD/assets" \
  QUILLFEN_NATIVE_REPLAY="$PWD/build/tools/replay/quillfen-replay" \
  xvfb-run -a -s "-screen 0 1024x768x24" node --test tests/web/browser_test.mjs

echo "== the page in firefox-esr" >&2
QUILLFEN_SITE="$PWD/build-web/site" QUILLFEN_ASSETS="$PWD/assets" \
  QUILLFEN_NATIVE_REPLAY="$PWD/build/tools/replay/quillfen-replay" \
  xvfb-run -a -s "-screen 0 1920x1080x24" node --test tests/web/firefox_test.mjs

echo "== the level editor's module in chromium" >&2
QUILLFEN_SITE="$PWD/build-web/site" QUILLFEN_ASSETS="$PWD/assets" \
  QUILLFEN_DESCRIBE_LEVEL="$PWD/build/tools/level-editor/quillfen-describe-level" \
  node --test tests/web/level_core_test.mjs

echo "== the level editor in chromium" >&2
QUILLFEN_SITE="$PWD/build-web/site" QUILLFEN_ASSETS="$PWD/assets" \
  QUILLFEN_LINT="$PWD/build/tools/lint-level/quillfen-lint" \
  QUILLFEN_NATIVE_REPLAY="$PWD/build/tools/replay/quillfen-replay" \
  xvfb-run -a -s "-screen 0 1024x768x24" node --test tests/web/editor_test.mjs
