// The text pane: Level.txt in CodeMirror, with its history (one undo step a typed word, a
// paste or a drag in the world), the reader's colours and the lint's marks. Every change of
// the level is a transaction of this view.
import { history, historyKeymap, defaultKeymap, redo, undo } from '@codemirror/commands';
import { forEachDiagnostic, setDiagnostics, lintGutter } from '@codemirror/lint';
import { EditorSelection, EditorState } from '@codemirror/state';
import { EditorView, drawSelection, highlightActiveLine, keymap, lineNumbers } from '@codemirror/view';
import { colouring, colouringTheme, setColouring } from './colouring.js';

const theme = EditorView.theme({
  '&': { height: '100%', fontSize: '13px', backgroundColor: '#15171b', color: '#d8d8d8' },
  '.cm-scroller': { fontFamily: 'monospace' },
  '.cm-content': { caretColor: '#fff' },
  '.cm-gutters': { backgroundColor: '#1d1f24', color: '#777', border: 'none' },
  '.cm-activeLine': { backgroundColor: '#ffffff0a' },
  '&.cm-focused .cm-selectionBackground, .cm-selectionBackground': { backgroundColor: '#3a5a8a !important' },
}, { dark: true });

// Text that comes in from outside (a paste, a drop) takes the file's own line ends: each CR LF,
// CR or LF in it becomes a line break of the document, saved as the file's separator. Kept as
// it came, an LF pasted into a CRLF file would be a character of its line, saved bare.
export function ownLineEnds(text, state) {
  return text.replace(/\r\n?|\n/g, state.lineBreak);
}

// `onUpdate(update)` hears every transaction the view applies.
export function createSourcePane(parent, onUpdate) {
  const extensions = lineSeparator => [
    EditorState.lineSeparator.of(lineSeparator),
    lineNumbers(), lintGutter(), history(), drawSelection(), highlightActiveLine(), EditorView.lineWrapping,
    keymap.of([...defaultKeymap, ...historyKeymap, { key: 'Mod-Shift-z', run: redo, preventDefault: true }]),
    EditorView.clipboardInputFilter.of(ownLineEnds), colouring, colouringTheme, theme,
    EditorView.updateListener.of(onUpdate),
  ];
  const view = new EditorView({ parent, state: EditorState.create({ extensions: extensions('\n') }) });
  return {
    view,
    // A freshly opened file: its text with its own line separator, an empty history.
    load(text, lineSeparator) {
      view.setState(EditorState.create({ doc: text, extensions: extensions(lineSeparator) }));
    },
  };
}

// The most findings marked in the text (and listed): a level of binary bytes has one a word.
export const MOST_SHOWN = 2000;

// The reader's colours and the lint's marks of a description of the current text.
export function showDescription(view, description, map) {
  const located = [];
  for (const finding of description.findings) {
    if (located.length === MOST_SHOWN) break;
    if (finding.located) located.push(finding);
  }
  const diagnostics = located.map(finding => {
    const range = map.range(finding.offset, finding.offset + finding.length);
    return { ...range, severity: finding.severity, message: finding.message };
  });
  const colours = { effects: setColouring.of({ description, map }) };
  // A keystroke mostly leaves the findings as they were (moved with the text by the editor):
  // then the marks and the gutter stay, and only the colours are new.
  if (sameDiagnostics(view.state, diagnostics)) view.dispatch(colours);
  else view.dispatch(setDiagnostics(view.state, diagnostics), colours);
}

const diagnosticKey = (d, from = d.from, to = d.to) => `${from} ${to} ${d.severity} ${d.message}`;

// Whether the text's marks are those of `diagnostics` (in any order).
function sameDiagnostics(state, diagnostics) {
  const marked = [];
  forEachDiagnostic(state, (d, from, to) => marked.push(diagnosticKey(d, from, to)));
  if (marked.length !== diagnostics.length) return false;
  const wanted = diagnostics.map(d => diagnosticKey(d)).sort();
  return marked.sort().every((key, i) => key === wanted[i]);
}

// The text cursor on a range of the document, in sight.
export function putCursor(view, from, to = from) {
  view.dispatch({ selection: EditorSelection.single(from, to), scrollIntoView: true });
}

export { undo, redo };
