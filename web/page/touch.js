// Touch: on-screen buttons press and release the game's keys as the keyboard would (several at
// once, one finger each), and a tap on the canvas is a click of the left mouse button at the
// tapped game pixel. The game hears the same SDL events as from a keyboard and a mouse, so a
// touch session's recording replays natively.
const KEYS = {
  'touch-left': { key: 'a', code: 'KeyA', keyCode: 65 },
  'touch-right': { key: 'd', code: 'KeyD', keyCode: 68 },
  'touch-jump': { key: ' ', code: 'Space', keyCode: 32 },
};

function keyEvent(type, key) {
  return { type, ...key, touch: true, charCode: 0, location: 0, repeat: false, shiftKey: false, ctrlKey: false,
    altKey: false, metaKey: false, preventDefault() {}, stopPropagation() {} };
}

// A button holds its key down while any finger is on it.
function holdKey(button, key, relay) {
  const fingers = new Set();
  const touched = event => {
    event.preventDefault();
    const before = fingers.size;
    for (const touch of event.changedTouches) {
      if (event.type === 'touchstart') fingers.add(touch.identifier);
      else fingers.delete(touch.identifier);
    }
    if (before === 0 && fingers.size > 0) relay(keyEvent('keydown', key));
    if (before > 0 && fingers.size === 0) relay(keyEvent('keyup', key));
    button.classList.toggle('held', fingers.size > 0);
  };
  for (const type of ['touchstart', 'touchend', 'touchcancel']) button.addEventListener(type, touched, { passive: false });
}

// The game's SDL would take a touch's position against the window, not the page, and any finger
// on the screen (one on a button too) for the tap: the page turns the touches that start on the
// canvas into the mouse's own events before SDL sees them.
function tapsAsClicks(game) {
  const onCanvas = new Set();
  const mouse = (type, touch) => touch.target.dispatchEvent(new MouseEvent(type, {
    bubbles: true, cancelable: true, button: 0, buttons: type === 'mousedown' ? 1 : 0,
    clientX: touch.clientX, clientY: touch.clientY, screenX: touch.screenX, screenY: touch.screenY }));
  const touched = event => {
    for (const touch of event.changedTouches) {
      if (touch.target.id !== 'canvas') continue;
      event.preventDefault();
      event.stopPropagation();
      if (event.type === 'touchstart' && onCanvas.size === 0) mouse('mousedown', touch);
      if (event.type === 'touchstart') onCanvas.add(touch.identifier);
      else if (onCanvas.delete(touch.identifier) && onCanvas.size === 0) mouse('mouseup', touch);
    }
  };
  for (const type of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
    game.addEventListener(type, touched, { capture: true, passive: false });
  }
}

// relay: hands a key event to the running game as the page's keyboard does.
export function touchControls(game, controls, relay) {
  if (!(navigator.maxTouchPoints > 0)) return;
  controls.hidden = false;
  for (const [id, key] of Object.entries(KEYS)) holdKey(document.getElementById(id), key, relay);
  tapsAsClicks(game);
}
