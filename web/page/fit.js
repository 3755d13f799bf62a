// Where the canvas goes in the window: the largest size that fits, in whole multiples of the
// game's 640x480 where one fits (every game pixel the same number of screen pixels), else the
// largest fit of its shape; with the log and the controls beside it, or below where that leaves
// the canvas larger.
export const GAME_WIDTH = 640;
export const GAME_HEIGHT = 480;

export function canvasSize(width, height) {
  const fit = Math.min(width / GAME_WIDTH, height / GAME_HEIGHT);
  const scale = fit >= 1 ? Math.floor(fit) : Math.max(fit, 0.1);
  return { width: Math.floor(GAME_WIDTH * scale), height: Math.floor(GAME_HEIGHT * scale) };
}

// window: {width, height}; side: the width the log and the controls take beside the canvas;
// margin: around the page and between its columns.
export function pageLayout(window, side, margin) {
  const height = window.height - 2 * margin;
  const beside = canvasSize(window.width - side - 3 * margin, height);
  const below = canvasSize(window.width - 2 * margin, height);
  return below.width > beside.width ? { ...below, beside: false } : { ...beside, beside: true };
}
