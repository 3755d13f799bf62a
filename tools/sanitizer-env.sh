# Sourced by ./check: the environment for running sanitizer builds.
#
# Mesa unloads its software GL driver when the context goes away, before LeakSanitizer looks
# at the heap; the driver's own leftovers then show up as leaks from an unknown module that no
# suppression can name. Preloading the driver keeps it mapped, so the suppressions (which name
# only system libraries) can match it. The preload comes before the sanitizer runtime, hence
# verify_asan_link_order=0.
tools_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$tools_dir/lsan.supp:print_suppressions=0"
for driver in /usr/lib/*/dri/swrast_dri.so; do
  if [ -f "$driver" ]; then
    export LD_PRELOAD="$driver"
    break
  fi
done
