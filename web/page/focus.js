// The keyboard goes to the game only while its canvas has the focus; until then, while the game
// plays (`playing()`), an overlay says "Click to play", and the click on it only gives the canvas
// the focus: it fires no shot. Gives back what to call when the game starts or ends.
export const canvasHasFocus = () => document.activeElement?.id === 'canvas';

export function clickToPlay(overlay, playing) {
  const update = () => { overlay.hidden = canvasHasFocus() || !playing(); };
  overlay.addEventListener('click', () => document.getElementById('canvas').focus());
  document.addEventListener('focusin', update);
  document.addEventListener('focusout', () => setTimeout(update));
  update();
  return update;
}

// Replaces the canvas by a fresh one (a program's own GL context and mouse listeners), keeping
// the focus on it if the old one had it.
export function freshCanvas() {
  const old = document.getElementById('canvas');
  const focused = canvasHasFocus();
  const canvas = old.cloneNode(false);
  old.replaceWith(canvas);
  if (focused) canvas.focus();
  return canvas;
}
