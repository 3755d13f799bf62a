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

// Relays every key-down and key-up to the running program (`current()` gives it, or null), as
// the window's reach the game natively, except the key typed while the game waits on its
// console: that is what it reads (Enter as a new line), and the rest of that keystroke, its
// key-up included, goes nowhere (natively it was typed in the terminal).
export function keyRelay(current) {
  const consoleKeys = new Set(); // keys being typed at the console, by their code
  return event => {
    const run = current();
    if (!run || !run.module) return;
    const module = run.module;
    if (consoleKeys.has(event.code)) {
      if (event.type === 'keyup') consoleKeys.delete(event.code);
      return;
    }
    if (module.consoleWaiting && event.type === 'keydown' &&
        (event.key.length === 1 || event.key === 'Enter')) {
      module.consoleKey = event.key === 'Enter' ? 10 : event.key.charCodeAt(0) & 0xff;
      consoleKeys.add(event.code);
      event.preventDefault();
      return;
    }
    if (GAME_KEYS.has(event.key)) event.preventDefault();
    run.keys.hand(gameCopy(event));
  };
}
