// A play-test: the real game (quillfen.js, loaded the first time) on the level as it is being
// edited, in the editor's place, with its log and its session recorded as on the game's page.
// Stop or the game's end brings the editor back as it was: its panes are only hidden meanwhile,
// so the text, its selection and its history stay. The game's log (and what it said on standard
// error) comes along into the editor, where it stays to be read until the next play-test.
import { canvasHasFocus, clickToPlay, freshCanvas } from '../page/focus.js';
import { keyRelay } from '../page/keyboard.js';
import { levelRefusal } from '../page/limits.js';
import { logView } from '../page/log-view.js';
import { loadScript, recordingOf, startProgram } from '../page/program.js';
import { hasWebGL } from '../page/webgl.js';

// elements: {editor (hidden while the game plays), play (the game's pane), output (the log and
// the errors, in the game's pane while it plays), shelf (the output's place in the editor),
// log, errors, hideOutput (a button), overlay (click to play)}; `onBack(said)` runs once the
// editor shows again, with what the game said on its standard error.
export function createPlayTest(elements, onBack) {
  let run = null;
  const log = logView(elements.log);
  const errors = logView(elements.errors);
  const relay = keyRelay(() => run, canvasHasFocus);
  for (const type of ['keydown', 'keyup', 'keypress']) document.addEventListener(type, relay);
  window.addEventListener('blur', relay.releaseAll);
  const playing = () => run !== null && !run.ended;
  const showFocus = clickToPlay(elements.overlay, playing);
  const side = elements.output.parentElement;
  elements.hideOutput.addEventListener('click', () => { elements.output.hidden = true; });

  const back = () => {
    relay.releaseAll();
    elements.play.hidden = true;
    elements.shelf.append(elements.output);
    elements.editor.hidden = false;
    elements.log.scrollTop = elements.log.scrollHeight;
    showFocus();
    onBack(elements.errors.textContent);
  };

  return {
    playing,
    // Plays the level's files ([{name, bytes}]); gives back why it cannot, or ''.
    async start(files) {
      if (playing()) return '';
      if (!hasWebGL()) return 'The play-test needs WebGL, which this browser does not give the page.';
      const refusal = levelRefusal(files.map(file => ({ name: file.name, size: file.bytes.length })));
      if (refusal) return `Not played: ${refusal}.`;
      if (typeof globalThis.createQuillfen === 'undefined') await loadScript('quillfen.js');
      log.clear();
      errors.clear();
      side.append(elements.output);
      elements.output.hidden = false;
      elements.editor.hidden = true;
      elements.play.hidden = false;
      const canvas = freshCanvas();
      run = startProgram({
        factory: globalThis.createQuillfen, args: [], record: true, canvas, files,
        print: log.show, printErr: errors.show, onExit: back,
      });
      run.loaded.catch(error => {
        errors.show(`The game could not start: ${error.message || error}`);
        back();
      });
      canvas.focus();
      showFocus();
      return '';
    },
    stop: () => run?.quit(),
    recording: () => recordingOf(run),
    run: () => run,
  };
}
