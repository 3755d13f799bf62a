#!/usr/bin/env bash
# Builds the browser build into build-web/ with Debian's emscripten, installing what is missing:
#   build-web/site/             the page, its modules and the bundled level: any web server serves it
#   build-web/site/editor/      the level editor's bundle (edit.html), from web/editor/ and its npm
#                               packages (web/package-lock.json), bundled by esbuild
#   build-web/quillfen-replay.js  the replay tool for node (node build-web/quillfen-replay.js --help)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --web
# Emscripten's optimiser needs Debian's acorn, which node finds only here.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DQUILLFEN_TESTS=OFF >&2
cmake --build build-web -j "$(nproc)" >&2

# The editor's packages, installed again only when the lock file changed.
if ! cmp -s web/package-lock.json web/node_modules/.quillfen-lock; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
  cp web/package-lock.json web/node_modules/.quillfen-lock
fi
web/node_modules/.bin/esbuild web/editor/main.js --bundle --minify --format=esm --target=es2022 \
  --log-level=warning --outfile=build-web/site/editor/editor.js
# The service worker lists every file of the site with a digest of the build: written again now
# that the editor's bundle is there too.
cmake -DSITE="$PWD/build-web/site" -DSOURCE="$PWD/web/service-worker.js" -P web/site-build.cmake
