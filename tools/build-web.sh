#!/usr/bin/env bash
# Builds the browser build into build-web/ with Debian's emscripten, installing what is missing:
#   build-web/site/             the page, its modules and the bundled level: any web server serves it
#   build-web/quillfen-replay.js  the replay tool for node (node build-web/quillfen-replay.js --help)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --web
# Emscripten's optimiser needs Debian's acorn, which node finds only here.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DQUILLFEN_TESTS=OFF >&2
cmake --build build-web -j "$(nproc)" >&2
