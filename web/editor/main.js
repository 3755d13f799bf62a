// The level editor: the text of Level.txt, the world the game builds from it, and the lint's
// findings, kept in step. The text is the one state: every change (typed, pasted, dragged in the
// world, undone) is a transaction of the text pane; what the world and the problems show is
// the core's description of that text.
import { createLevelCore } from './level-core.js';
import { bundledLevel, chosenFiles, download, folderInPlace } from './level-files.js';
import { LEVEL_FILE, LevelModel } from './level-model.js';
import { deletion, insertion, newRecordText } from './record-edits.js';
import { rewriteOf } from './record-handles.js';
import { showProblems } from './problems-pane.js';
import { createInspector } from './inspector.js';
import { keeper, keptSession } from './kept-session.js';
import { filesOfFragment, overBundled } from '../page/level-link.js';
import { shareLink } from './share-link.js';
import { MOST_SHOWN, createSourcePane, ownLineEnds, putCursor, redo, showDescription, undo } from './source-pane.js';
import { createWorldPane } from './world-pane.js';
import { createPlayTest } from './play-test.js';
import { mark } from './timings.js';

const element = id => document.getElementById(id);
const status = element('status');
const core = await createLevelCore().catch(error => {
  status.textContent = `The level reader could not start: ${error.message || error}`;
  throw error;
});
let rows = [];

const model = new LevelModel(core, async shown => {
  const { description, map } = shown;
  rows = showProblems(element('problems'), description, finding => {
    if (model.shown !== shown || shown.doc !== text.view.state.doc) return; // a newer one is coming
    const range = map.range(finding.offset, finding.offset + finding.length);
    putCursor(text.view, range.from, range.to);
    text.view.focus();
  }, MOST_SHOWN);
  mark('listed');
  if (description.ok) showDescription(text.view, description, map);
  mark('marked');
  selectAtCursor();
  const pictures = world.show(description);
  mark('drawn');
  await pictures;
});

model.onReading = reading => element('problems').classList.toggle('reading', reading);

const keep = keeper();
const session = () => ({ level: model.bytesOf(text.view.state), opened: model.opened, pictures: model.pictures });
const text = createSourcePane(element('source'), update => {
  if (update.docChanged) {
    mark('transaction');
    model.describe(update.state);
    keep(session);
  }
  if (update.selectionSet) selectAtCursor();
});

// The record holding the text cursor is the one selected in the world and the inspector.
function selectAtCursor() {
  const shown = model.shown;
  if (!shown || shown.doc !== text.view.state.doc) return;
  const index = model.recordAt(shown.map.toOffset(text.view.state.selection.main.head));
  world.select(index);
  inspector.show(shown.description.records?.[index]);
}

// Rewrites words of a record of the description on show ([{from, to, insert}] in bytes) as one
// step of the history, unless the text changed since.
function rewrite(record, changes) {
  const shown = model.shown;
  if (!shown || shown.doc !== text.view.state.doc || !shown.description.records.includes(record)) return;
  if (changes.length === 0) return;
  text.view.dispatch({
    changes: changes.map(change => ({ ...shown.map.range(change.from, change.to), insert: change.insert })),
    userEvent: 'input.rewrite',
  });
}

const floatText = x => core.floatText(x);
const inspector = createInspector(element('inspector'), { floatText, rewrite });

const world = createWorldPane(element('world-view'), {
  core,
  onPick(index) {
    const record = model.shown?.description.records[index];
    if (!record) return;
    const start = model.shown.map.toPosition(record.from);
    putCursor(text.view, start);
  },
  onDrag: async (record, values) => rewrite(record, await rewriteOf(record, values, floatText)),
  onKey(event) {
    if (!(event.ctrlKey || event.metaKey)) return;
    const key = event.key.toLowerCase();
    const done = key === 'z' ? (event.shiftKey ? redo : undo)(text.view) : key === 'y' && redo(text.view);
    if (done !== false) event.preventDefault();
  },
  // A record drawn with a tool, or removed: one step of the history each.
  async onCreate(kind, values) {
    const shown = model.shown;
    const picture = element('picture-name').value;
    if (!shown?.description.ok || (kind === 'image' && !picture)) return;
    const insert = await newRecordText(kind, { ...values, picture }, floatText, shown.description);
    if (shown !== model.shown || shown.doc !== text.view.state.doc) return;
    text.view.dispatch({ changes: insertion(text.view.state, shown.map, shown.description, kind, insert), userEvent: 'record.add' });
  },
  onDelete(record) {
    const shown = model.shown;
    if (!shown || shown.doc !== text.view.state.doc) return;
    text.view.dispatch({ changes: deletion(text.view.state, shown.map, record), userEvent: 'record.delete' });
  },
  grid: () => Number(element('grid').value),
  tool: () => element('tool').value,
});

function open(files, origin) {
  inPlace = null;
  element('save-in-place').hidden = true;
  const shown = model.open(files);
  world.forgetPictures();
  text.load(shown.text, shown.lineSeparator);
  const notes = [`${origin}${model.opened ? '' : ` (no ${LEVEL_FILE}: the game plays without one)`}`];
  if (shown.latin1) {
    notes.push(`${LEVEL_FILE} is not valid UTF-8: each byte is shown as the Latin-1 character of ` +
      'its number, and saved as that byte again.');
  }
  status.textContent = notes.join(' ');
  const names = model.pictures.map(file => file.name).filter(name => /\.bmp$/i.test(name));
  element('picture-name').replaceChildren(...names.map(name => new Option(name, name)));
  model.describe(text.view.state);
  keep(session);
}

// The level of the last visit, as it was left; the file as it was opened is a click away.
function openKept(kept) {
  const level = bytes => (bytes ? [{ name: LEVEL_FILE, bytes }] : []);
  open([...kept.pictures, ...level(kept.level)], 'Your level as you left it (kept in this browser).');
  model.opened = kept.opened;
  const original = document.createElement('button');
  original.textContent = 'Open it as it was opened';
  original.addEventListener('click', () => open([...kept.pictures, ...level(kept.opened)], 'Your level as it was opened.'));
  status.append(' ', original);
}

async function openFrom(load, origin) {
  try {
    const files = await load();
    if (files.length) open(files, origin);
  } catch (error) {
    status.textContent = `Could not open the level: ${error.message}`;
  }
}

element('open-bundled').addEventListener('click', () => openFrom(bundledLevel, 'The bundled level.'));
for (const id of ['open-folder', 'open-files']) {
  element(id).addEventListener('change', event => openFrom(() => chosenFiles(event.target), 'Your level.'));
}
element('save-level').addEventListener('click', () => download(model.bytesOf(text.view.state), LEVEL_FILE));

// Where the browser can write into a folder the author opened, Level.txt saves back in place.
let inPlace = null;
if (window.showDirectoryPicker) {
  element('open-in-place').hidden = false;
  element('open-in-place').addEventListener('click', async () => {
    try {
      const folder = await folderInPlace();
      open(folder.files, `The folder ${folder.name}, to save in place.`);
      inPlace = folder;
      element('save-in-place').hidden = false;
    } catch (error) {
      if (error.name !== 'AbortError') status.textContent = `Could not open the folder: ${error.message}`;
    }
  });
  element('save-in-place').addEventListener('click', async () => {
    try {
      await inPlace.save(LEVEL_FILE, model.bytesOf(text.view.state));
      status.textContent = `Saved ${LEVEL_FILE} in ${inPlace.name}.`;
    } catch (error) {
      status.textContent = `Could not save in place: ${error.message}`;
    }
  });
}

// The game on the text as it is now (its exact bytes) and the folder's pictures; the editor
// comes back as it was when the game ends.
const playTest = createPlayTest({
  editor: element('editor'), play: element('play'), log: element('log'), errors: element('errors'),
  output: element('play-output'), shelf: element('below'), hideOutput: element('hide-output'),
  overlay: element('click-to-play'),
}, said => {
  status.textContent = 'The play-test ended' + (said ? `; the game said: ${said.trimEnd()}` : '.');
  text.view.focus();
});
element('play-test').addEventListener('click', async () => {
  try {
    status.textContent = await playTest.start(model.filesOf(text.view.state));
    element('save-recording').disabled = playTest.run() === null;
  } catch (error) {
    status.textContent = `The play-test could not start: ${error.message}`;
  }
});
element('stop').addEventListener('click', playTest.stop);
element('save-recording').addEventListener('click', () => {
  const bytes = playTest.recording();
  if (bytes) download(bytes, 'quillfen-recording.txt');
});

const sameBytes = (a, b) => a.length === b.length && a.every((byte, i) => byte === b[i]);

// A link to this level: Level.txt as it is now, with the folder's pictures that differ from
// the bundled ones.
element('share-link').addEventListener('click', async () => {
  const bundled = await bundledLevel();
  const own = model.pictures.filter(picture =>
    !bundled.some(file => file.name === picture.name && sameBytes(file.bytes, picture.bytes)));
  const level = { name: LEVEL_FILE, bytes: model.bytesOf(text.view.state) };
  const base = location.href.replace(/#.*$/, '');
  const { link, leftOut } = await shareLink(base, level, own);
  element('share-url').value = link;
  status.textContent = leftOut.length ? `The link leaves out ${leftOut.join(', ')}: with them it would be too long.` : '';
});

// The level a link carries, over the bundled pictures.
async function linkedLevel() {
  return overBundled(await filesOfFragment(location.hash), await bundledLevel());
}

// For tests and tools.
window.quillfenEditor = {
  text: () => text.view.state.sliceDoc(),
  setText(value) {
    text.view.dispatch({
      changes: { from: 0, to: text.view.state.doc.length, insert: ownLineEnds(value, text.view.state) },
      userEvent: 'input.paste',
    });
  },
  settled: () => model.settled(),
  problems: () => rows.map(({ line, column, severity, message }) => ({ line, column, severity, message })),
  worldToClient: (x, y) => world.worldToClient(x, y),
  playTest: () => playTest.run(), // the game of the last play-test (program.js's run)
};

// A link that cannot be used is said, and the bundled level opens instead.
try {
  const kept = location.hash.startsWith('#level=') ? null : await keptSession();
  if (kept) openKept(kept);
  else if (location.hash.startsWith('#level=')) open(await linkedLevel(), 'The level of the link.');
  else await openFrom(bundledLevel, 'The bundled level.');
} catch (error) {
  await openFrom(bundledLevel, `This link cannot be opened (${error.message}); here is the bundled level.`);
}
