#!/usr/bin/env bash
# Static checks of the sources: the house clang-format style on every C++ file, and the
# bug-finding clang-tidy checks of .clang-tidy on the game's code. Needs the compile commands
# of a configured build (default: build/); the browser build's own sources are not in them.
#   usage: tools/lint.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"

mapfile -t game_sources < <(git ls-files 'app/*.cpp' 'world/*.cpp' 'level/*.cpp' \
  'physics/*.cpp' 'gfx/*.cpp' 'entities/*.cpp' 'tools/replay/*.cpp' 'tools/lint-level/*.cpp' \
  'tools/level-editor/*.cpp' ':!tools/level-editor/LevelModule.cpp' ':!app/BrowserHost.cpp' ':!app/BrowserKeys.cpp' ':!gfx/PictureFileWeb.cpp' ':!tools/replay/WorldMapUnavailable.cpp')
printf '%s\n' "${game_sources[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2> >(grep -v -E '^[0-9]+ warnings? generated' >&2)
echo "lint: clang-format and clang-tidy found nothing." >&2
