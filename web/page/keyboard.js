// The keyboard of one program: the page hands it the keys, so a program that has ended (or been
// replaced) hears none. It stands in for the document as emscripten's keyboard element.
export function keyboardOf() {
  const listeners = [];
  return {
    addEventListener(type, listener) { listeners.push({ type, listener }); },
    removeEventListener(type, listener) {
      const index = listeners.findIndex(l => l.type === type && l.listener === listener);
      if (index >= 0) listeners.splice(index, 1);
    },
    hand(event) {
      for (const l of listeners) if (l.type === event.type) l.listener(event);
    },
  };
}

// What the game's SDL reads of a key event. It gets a copy whose default it cannot prevent:
// every key reaches the game, but only the game's own keys are kept from the browser (F11 still
// goes full screen, Ctrl+L still reaches the address bar).
function gameCopy(event) {
  return {
    type: event.type, key: event.key, code: event.code, keyCode: event.keyCode,
    charCode: event.charCode, location: event.location, repeat: event.repeat,
    shiftKey: event.shiftKey, ctrlKey: event.ctrlKey, altKey: event.altKey, metaKey: event.metaKey,
    preventDefault() {}, stopPropagation() {},
  };
}

// Keys the game reads; the page neither scrolls nor presses buttons on them.
const GAME_KEYS = new Set([' ', 'a', 'A', 'd', 'D', '`', 'ArrowUp', 'ArrowDown', 'ArrowLeft',
  'ArrowRight']);

// Whether the browser is kept from a key: the game's keys, and any character typed into the game
// (Firefox would find in the page on ' and /, taking the keyboard); shortcuts stay the browser's.
const keptFromBrowser = event => GAME_KEYS.has(event.key) ||
  (event.key.length === 1 && !event.ctrlKey && !event.altKey && !event.metaKey);

// Relays every key-down and key-up to the running program (`current()` gives it, or null) while
// the canvas has the keyboard (`focused()`), as the window's reach the game natively, except the
// key typed while the game waits on its console: that is what it reads (Enter as a new line),
// and the rest of that keystroke, its key-up included, goes nowhere (natively it was typed in the
// terminal). A key pressed in the game is released in the game, wherever the focus has gone
// since (Tab to the controls); `releaseAll` releases every held key, as SDL does when the window
// loses the keyboard, so that no key stays held in a game that will never see it go up.
export function keyRelay(current, focused) {
  const consoleKeys = new Set(); // keys being typed at the console, by their code
  const held = new Map(); // code -> the key-down the game saw, for keys it has not seen go up
  const relay = event => {
    const run = current();
    if (!run || !run.module) return;
    const module = run.module;
    if (consoleKeys.has(event.code)) {
      if (event.type === 'keyup') consoleKeys.delete(event.code);
      return;
    }
    const release = event.type === 'keyup' && held.has(event.code);
    if (!event.touch && !focused() && !release) return; // touch buttons play without the focus
    if (module.consoleWaiting && event.type === 'keydown' &&
        (event.key.length === 1 || event.key === 'Enter')) {
      module.consoleKey = event.key === 'Enter' ? 10 : event.key.charCodeAt(0) & 0xff;
      consoleKeys.add(event.code);
      event.preventDefault();
      return;
    }
    if (keptFromBrowser(event)) event.preventDefault();
    if (event.type === 'keydown') held.set(event.code, event);
    if (event.type === 'keyup') held.delete(event.code);
    run.keys.hand(gameCopy(event));
  };
  relay.releaseAll = () => {
    const run = current();
    for (const down of held.values()) run?.keys.hand({ ...gameCopy(down), type: 'keyup' });
    held.clear();
  };
  return relay;
}
