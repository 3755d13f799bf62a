// Quillfen's page: runs the game (quillfen.js) on the canvas with its log beside it, records
// every session, plays a level the player loads and watches a recording (quillfen-watch.js).
'use strict';

const GAME_FOLDER = '/game';
const RECORDING = '/session.txt';
const WATCHED = '/watched.txt';
// Keys the game reads; the page does not scroll or press buttons on them.
const GAME_KEYS = new Set([' ', 'a', 'A', 'd', 'D', '`', 'ArrowUp', 'ArrowDown', 'ArrowLeft',
  'ArrowRight']);

// Emscripten's own notices about its GL emulation are not the game's: they go to the console.
const EMSCRIPTEN_NOTICE = /^(WARNING: using emscripten GL|TODO: gl)/;

const page = {
  log: document.getElementById('log'),
  errors: document.getElementById('errors'),
  saveRecording: document.getElementById('save-recording'),
  levelFiles: null, // [{name, bytes}] of the level being played
  current: null,    // the running program: {module, keys, watching, ended}
  consoleKeys: new Set(), // keys being typed at the console, by their code
};

// Stands in for the document as the keyboard of one program: the page hands it the keys, so a
// program that has ended (or been replaced) hears none.
function keyboardOf() {
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

// One text node a line (a level's echo can be long), scrolled to the end once a frame.
function show(element, line) {
  element.append(line + '\n');
  if (element.scrollPending) return;
  element.scrollPending = true;
  requestAnimationFrame(() => {
    element.scrollPending = false;
    element.scrollTop = element.scrollHeight;
  });
}

// A fresh canvas for each program: each has its own GL context and mouse listeners.
function freshCanvas() {
  const old = document.getElementById('canvas');
  const canvas = old.cloneNode(false);
  old.replaceWith(canvas);
  return canvas;
}

// Asks a program to end as a closed window would (app/BrowserHost.cpp reads it); its last
// frame, log and recording stay.
function askToQuit(run) {
  if (run && run.module) run.module.quitRequested = true;
}

function stopCurrent() {
  askToQuit(page.current);
  page.current = null;
}

// The watching program is fetched the first time it is needed.
function loadScript(source) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = source;
    script.onload = resolve;
    script.onerror = reject;
    document.body.append(script);
  });
}

async function start(factory, args, extraFiles) {
  stopCurrent();
  page.log.textContent = '';
  page.errors.textContent = '';
  const run = { keys: keyboardOf(), watching: factory !== createQuillfen, module: null, ended: false };
  page.current = run;
  const mine = f => line => { if (page.current === run) f(line); };
  const files = page.levelFiles.concat(extraFiles);
  const module = await factory({
    canvas: freshCanvas(),
    keyboardListeningElement: run.keys,
    print: mine(line => show(page.log, line)),
    onExit: () => { run.ended = true; },
    printErr: mine(line => EMSCRIPTEN_NOTICE.test(line) ? console.warn(line) : show(page.errors, line)),
    preRun: [m => {
      m.FS.mkdir(GAME_FOLDER);
      for (const file of files) m.FS.writeFile(file.path || GAME_FOLDER + '/' + file.name, file.bytes);
      m.FS.chdir(GAME_FOLDER);
      if (!run.watching) m.ENV.QUILLFEN_RECORD = RECORDING;
    }],
  });
  run.module = module;
  page.saveRecording.disabled = run.watching;
  if (page.current === run) module.callMain(args);
}

async function readFile(file) {
  return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };
}

async function bundledLevel() {
  const list = await (await fetch('level/files.txt')).text();
  const names = list.split('\n').filter(name => name !== '');
  return Promise.all(names.map(async name => ({
    name, bytes: new Uint8Array(await (await fetch('level/' + name)).arrayBuffer()) })));
}

// The files a player chose: those at the top of a chosen folder, or the chosen files.
async function playChosenLevel(input) {
  const chosen = Array.from(input.files).filter(file =>
    (file.webkitRelativePath || file.name).split('/').length <= 2);
  input.value = '';
  if (chosen.length === 0) return;
  page.levelFiles = await Promise.all(chosen.map(readFile));
  await start(createQuillfen, [], []);
}

function saveRecording() {
  const run = page.current;
  if (!run || run.watching) return;
  const bytes = run.module.FS.readFile(RECORDING);
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
  link.download = 'quillfen-recording.txt';
  link.click();
  URL.revokeObjectURL(link.href);
}

async function watchRecording(input) {
  const file = input.files[0];
  input.value = '';
  if (!file) return;
  const recording = await readFile(file);
  recording.path = WATCHED;
  if (typeof createQuillfenWatch === 'undefined') await loadScript('quillfen-watch.js');
  await start(createQuillfenWatch, ['--watch', '--input', WATCHED], [recording]);
}

// What the program's SDL reads of a key event. SDL takes the browser's default of every key it
// is handed; only the game's keys lose theirs, the others (F5, Tab, Ctrl+F...) keep it.
function keyForProgram(event) {
  if (GAME_KEYS.has(event.key)) {
    event.preventDefault();
    return event;
  }
  const { type, key, code, keyCode, charCode, location } = event;
  return { type, key, code, keyCode, charCode, location, preventDefault() {} };
}

// Every key-down and key-up goes to the running program, as the window's do natively, except
// the key typed while the game waits on its console: that is what it reads (Enter as a new line).
function onKey(event) {
  const run = page.current;
  if (!run || !run.module) return;
  const module = run.module;
  // The rest of a keystroke the console took (natively typed in the terminal) goes nowhere.
  if (page.consoleKeys.has(event.code)) {
    if (event.type === 'keyup') page.consoleKeys.delete(event.code);
    return;
  }
  if (module.consoleWaiting && event.type === 'keydown' &&
      (event.key.length === 1 || event.key === 'Enter')) {
    module.consoleKey = event.key === 'Enter' ? 10 : event.key.charCodeAt(0) & 0xff;
    page.consoleKeys.add(event.code);
    event.preventDefault();
    return;
  }
  run.keys.hand(keyForProgram(event));
}

for (const type of ['keydown', 'keyup', 'keypress']) document.addEventListener(type, onKey);
page.saveRecording.addEventListener('click', saveRecording);
document.getElementById('stop').addEventListener('click', () => askToQuit(page.current));
document.getElementById('level-folder').addEventListener('change', e => playChosenLevel(e.target));
document.getElementById('level-files').addEventListener('change', e => playChosenLevel(e.target));
document.getElementById('watch-recording').addEventListener('change', e => watchRecording(e.target));
document.getElementById('bundled-level').addEventListener('click', async () => {
  page.levelFiles = await bundledLevel();
  await start(createQuillfen, [], []);
});

window.quillfenPage = page; // for the browser's console and the page's tests

(async () => {
  page.levelFiles = await bundledLevel();
  await start(createQuillfen, [], []);
})();
