// The game draws with WebGL; a browser may give none (turned off, blocked, or no graphics
// driver it trusts). Then no program can run, and the page says so instead of a black canvas.
export function hasWebGL() {
  const canvas = document.createElement('canvas');
  return Boolean(canvas.getContext('webgl') || canvas.getContext('experimental-webgl'));
}

export function showNoWebGL(game, message, controls) {
  game.querySelector('canvas').hidden = true;
  message.hidden = false;
  for (const control of controls.querySelectorAll('button, input')) control.disabled = true;
}
