// Quillfen's page: runs the game (quillfen.js) on the canvas with its log beside it, records
// every session, plays a level the player loads and watches a recording (quillfen-watch.js).
import { wireControls } from './controls.js';
import { canvasHasFocus, clickToPlay, freshCanvas } from './focus.js';
import { keyRelay } from './keyboard.js';
import { bundledLevel, levelFilesAmong, readFile } from './level-files.js';
import { LEVEL_LINK_PREFIX, filesOfFragment, overBundled } from './level-link.js';
import { levelRefusal, recordingRefusal } from './limits.js';
import { logView } from './log-view.js';
import { compiledModule, loadScript, recordingOf, startProgram } from './program.js';
import { sessionKeeper } from './keeping.js';
import { keptRecordings } from './kept-store.js';
import { describeKept, showKept } from './kept-view.js';
import { keepSite } from './offline.js';
import { fitToScreen } from './screen.js';
import { touchControls } from './touch.js';
import { hasWebGL, showNoWebGL } from './webgl.js';

const WATCHED = '/watched.txt';
const GAME_WASM = 'quillfen.wasm';
const WATCH_WASM = 'quillfen-watch.wasm';

const page = {
  log: logView(document.getElementById('log')),
  errors: logView(document.getElementById('errors')),
  saveRecording: document.getElementById('save-recording'),
  status: document.getElementById('status'),
  webgl: hasWebGL(), // without it no program runs
  levelFiles: [], // [{name, bytes}] of the level being played
  levelName: '',  // the level's name as the player knows it ('' when the page knows none)
  current: null,  // the running program (program.js)
  showFocus() {}, // shows whether the game has the keyboard
};
// The game's WebAssembly compiles while the page's modules and the level are still arriving
// (a failure shows when the game starts).
if (page.webgl) compiledModule(GAME_WASM).catch(() => {});

function start(factory, wasm, args, extraFiles) {
  if (!page.webgl) return Promise.resolve(null);
  if (page.current) page.current.discard();
  page.log.clear();
  page.errors.clear();
  const record = factory === globalThis.createQuillfen;
  const run = startProgram({
    factory, wasm, args, record, canvas: freshCanvas(), files: page.levelFiles.concat(extraFiles),
    print: page.log.show, printErr: page.errors.show,
    onExit: () => {
      page.showFocus();
      page.keeper.ended(run);
    },
  });
  page.current = run;
  if (record) page.keeper.started(run, page.levelName);
  page.showFocus();
  page.saveRecording.disabled = !record;
  return page.current.loaded;
}

const playGame = () => start(globalThis.createQuillfen, GAME_WASM, [], []);

// A refused file leaves the running program as it is; the reason shows under the controls.
function refused(what, reason) {
  page.status.textContent = reason ? `Not played: ${what}: ${reason}.` : '';
  return reason !== '';
}

async function playLevel(files) {
  const chosen = levelFilesAmong(files);
  if (chosen.length === 0 || refused('the level', levelRefusal(chosen))) return;
  page.levelFiles = await Promise.all(chosen.map(readFile));
  page.levelName = chosen[0].webkitRelativePath.split('/').slice(-2, -1)[0] ?? '';
  await playGame();
}

async function playBundledLevel() {
  refused('', '');
  page.levelFiles = await bundledLevel();
  page.levelName = 'the bundled level';
  await playGame();
}

// The level a link carries (the editor's share link, opened here), over the bundled pictures;
// a link the page cannot use is said, and the bundled level plays.
async function playLinkedLevel() {
  let files = null;
  try {
    files = overBundled(await filesOfFragment(location.hash), await bundledLevel());
  } catch (error) {
    page.status.textContent = `This link cannot be played: ${error.message}.`;
  }
  const sizes = files?.map(file => ({ name: file.name, size: file.bytes.length }));
  if (!files || refused('the link\'s level', levelRefusal(sizes))) {
    page.levelFiles = await bundledLevel();
    page.status.append(' Here is the bundled level.');
  } else {
    page.levelFiles = files;
    page.levelName = 'the level of a link';
    page.status.textContent = 'The level of the link.';
  }
  await playGame();
}

function download(bytes) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
  link.download = 'quillfen-recording.txt';
  link.click();
  URL.revokeObjectURL(link.href);
}

function saveRecording() {
  const bytes = recordingOf(page.current);
  if (bytes) download(bytes);
}

// The kept recordings, listed again whenever one is kept.
async function showKeptRecordings() {
  const entries = await keptRecordings().catch(error => {
    console.warn('The kept recordings cannot be read: ' + error);
    return [];
  });
  showKept(document.getElementById('kept-recordings'),
    entries.map(entry => ({ entry, ...describeKept(entry, page.keeper.playing(entry.id)) })), {
      save: entry => download(entry.bytes),
      watch: entry => watch(new File([entry.bytes], 'kept-recording.txt')),
    });
}

async function watch(file) {
  if (refused('the recording', recordingRefusal(file))) return;
  const recording = await readFile(file);
  recording.path = WATCHED;
  if (typeof globalThis.createQuillfenWatch === 'undefined') await loadScript('quillfen-watch.js');
  await start(globalThis.createQuillfenWatch, WATCH_WASM, ['--watch', '--input', WATCHED], [recording]);
}

const relay = keyRelay(() => page.current, canvasHasFocus);
for (const type of ['keydown', 'keyup', 'keypress']) document.addEventListener(type, relay);
window.addEventListener('blur', relay.releaseAll);
touchControls(document.getElementById('game'), document.getElementById('touch-controls'), relay);
page.showFocus = clickToPlay(document.getElementById('click-to-play'),
  () => page.current?.record && !page.current.ended);
fitToScreen(document.querySelector('main'), document.getElementById('game'),
  document.getElementById('fullscreen'));
page.keeper = sessionKeeper(showKeptRecordings);
wireControls({ playLevel, watch, playBundledLevel, saveRecording, stop: () => page.current?.quit() });

window.quillfenPage = page; // for the browser's console and the page's tests

// A link pasted into this tab's address bar changes only the fragment.
window.addEventListener('hashchange', () => {
  if (page.webgl && location.hash.startsWith(LEVEL_LINK_PREFIX)) playLinkedLevel();
});
let opening = null;
if (page.webgl && location.hash.startsWith(LEVEL_LINK_PREFIX)) opening = playLinkedLevel();
else if (page.webgl) opening = playBundledLevel();
else showNoWebGL(document.getElementById('game'), document.getElementById('no-webgl'), document.querySelector('.controls'));
// The kept recordings are listed (from IndexedDB) and the site is kept (the service worker
// fetches all of it) once the game shows: neither takes anything from the game's first frame.
Promise.resolve(opening).finally(() => {
  showKeptRecordings();
  keepSite();
});
