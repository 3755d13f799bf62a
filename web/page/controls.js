// The page's controls: each file input hides behind a labelled button that opens it, and what
// the player chooses (or drops onto the page) goes to the page's actions.
import { acceptDrops } from './drop.js';

const byId = id => document.getElementById(id);

// The chosen files of an input, taken off it so that choosing the same ones again is a change.
function chosen(input) {
  const files = Array.from(input.files);
  input.value = '';
  return files;
}

// actions: {playLevel(files), watch(file), playBundledLevel(), stop(), saveRecording()}
export function wireControls(actions) {
  for (const button of document.querySelectorAll('button[data-opens]')) {
    button.addEventListener('click', () => byId(button.dataset.opens).click());
  }
  for (const id of ['level-folder', 'level-files']) {
    byId(id).addEventListener('change', e => actions.playLevel(chosen(e.target)));
  }
  byId('watch-recording').addEventListener('change', e => {
    const [file] = chosen(e.target);
    if (file) actions.watch(file);
  });
  byId('bundled-level').addEventListener('click', actions.playBundledLevel);
  byId('stop').addEventListener('click', actions.stop);
  byId('save-recording').addEventListener('click', actions.saveRecording);
  acceptDrops(document.body, actions.playLevel, actions.watch);
}
