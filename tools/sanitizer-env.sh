# Sourced by ./check and tools/sanitized-game-run.sh: the environment for running the
# sanitizer build (build-sanitize).
#
# SDL and the GL dispatch library unload the X and Mesa libraries they opened before
# LeakSanitizer looks at the heap; what those libraries keep for the life of the process then
# shows up as leaks from an unknown module that no suppression can name, and whether such a
# leak is seen depends on what happens to be left on the stacks. The preloaded shim of
# tools/keep-modules makes dlclose keep every library mapped, so the suppressions (which name
# only system libraries) always match. The preload comes before the sanitizer runtime, hence
# verify_asan_link_order=0. SDL goes straight to X11 (the tests run under Xvfb) instead of
# probing for a Wayland compositor first.
tools_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
keep_modules="$tools_dir/../build-sanitize/tools/keep-modules/libquillfen_keep_modules.so"
if [ ! -f "$keep_modules" ]; then
  echo "sanitizer-env.sh: $keep_modules is missing; build build-sanitize first." >&2
  return 1
fi
export LD_PRELOAD="$(realpath "$keep_modules")"
export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$tools_dir/lsan.supp:print_suppressions=0"
export SDL_VIDEODRIVER=x11
