#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing Quillfen need, if missing.
# As root it runs apt-get itself, otherwise through sudo; where neither works it prints the
# exact command to run and fails.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl1.2-compat-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libgtest-dev libbenchmark-dev libpng-dev
  xvfb xauth
  xdotool libx11-dev
)
for option in "$@"; do
  case "$option" in
  --with-test-tools) packages+=(clang libclang-rt-dev clang-format clang-tidy) ;;
  # The browser build: emscripten with its optimiser's parser; the page's tests drive chromium
  # and firefox-esr.
  --web) packages+=(emscripten node-acorn) ;;
  --browser) packages+=(chromium firefox-esr) ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

install_line="apt-get install -y ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  run=(sudo)
else
  echo "Quillfen needs these packages; install them with:" >&2
  echo "  sudo apt-get update && sudo $install_line" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}" >&2
"${run[@]}" apt-get update -qq >&2
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
