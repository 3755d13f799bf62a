// The canvas on the screen: sized by fit.js on every change of the window or of full screen,
// and the full-screen control, which shows the game alone (F11 stays the browser's own).
import { pageLayout } from './fit.js';

const SIDE_WIDTH = 420; // the log and the controls, beside the canvas
const MARGIN = 16;

export function fitToScreen(main, game, fullscreenButton) {
  const refit = () => {
    const whole = document.fullscreenElement === game;
    const view = { width: document.documentElement.clientWidth, height: window.innerHeight };
    const layout = whole ? pageLayout(view, 0, 0) : pageLayout(view, SIDE_WIDTH, MARGIN);
    const style = document.documentElement.style;
    style.setProperty('--canvas-width', layout.width + 'px');
    style.setProperty('--canvas-height', layout.height + 'px');
    main.classList.toggle('below', !layout.beside);
    fullscreenButton.textContent = whole ? 'Leave full screen' : 'Full screen';
  };
  window.addEventListener('resize', refit);
  document.addEventListener('fullscreenchange', refit);
  fullscreenButton.addEventListener('click', () => {
    if (document.fullscreenElement) return void document.exitFullscreen();
    game.requestFullscreen().then(() => document.getElementById('canvas').focus(),
      error => console.warn('No full screen here: ' + error.message));
  });
  refit();
}
