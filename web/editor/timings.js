// Where a keystroke's time goes, for bench/editor_bench.mjs: with `?timings` in the page's
// address, each step of a describe (the page's and, in its reply, the worker's) leaves a
// performance mark named `quillfen:<step>`; without it nothing is recorded.
export const timed = new URLSearchParams(globalThis.location?.search).has('timings');

// A mark now, or at `at` (a time of this page's clock).
export function mark(step, at = undefined) {
  if (timed) performance.mark(`quillfen:${step}`, at === undefined ? undefined : { startTime: at });
}

// The worker's marks of a reply, taken on its own clock, on this page's.
export function markWorker(stamps) {
  for (const [step, time] of Object.entries(stamps || {})) mark(step, time - performance.timeOrigin);
}
