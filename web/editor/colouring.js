// The level's words coloured by what the game's reader took them for: headers, keys, words
// that spend a key step without being a key, numbers, picture names, and the notes between
// records. The ranges come from the reader's description; while a newer one is on its way the
// colours move with the edits.
import { StateEffect, StateField } from '@codemirror/state';
import { Decoration, EditorView } from '@codemirror/view';

export const setColouring = StateEffect.define();
const HEADER_BYTES = new TextEncoder();

const MARKS = {
  header: Decoration.mark({ class: 'lv-header' }),
  key: Decoration.mark({ class: 'lv-key' }),
  stray: Decoration.mark({ class: 'lv-stray' }),
  number: Decoration.mark({ class: 'lv-number' }),
  unread: Decoration.mark({ class: 'lv-unread' }),
  name: Decoration.mark({ class: 'lv-name' }),
  note: Decoration.mark({ class: 'lv-note' }),
};

// The decorations of a description's records, through `map` (a ByteMap) to document ranges.
export function colouringOf(description, map) {
  const ranges = [];
  const add = (mark, from, to) => {
    const range = map.range(from, to);
    if (range.to > range.from) ranges.push(MARKS[mark].range(range.from, range.to));
  };
  let noteFrom = 0;
  for (const record of description.records) {
    add('note', noteFrom, record.from);
    noteFrom = record.to;
    add('header', record.from, record.from + HEADER_BYTES.encode(record.header).length);
    if (record.name) add('name', record.name[0], record.name[1]);
    for (const key of record.keys) {
      if (key.word) add(key.key === 'None' ? 'stray' : 'key', key.word[0], key.word[1]);
      for (const value of key.values) add(value.parsed ? 'number' : 'unread', value.range[0], value.range[1]);
    }
  }
  add('note', noteFrom, map.length);
  return Decoration.set(ranges, true);
}

export const colouring = StateField.define({
  create: () => Decoration.none,
  update(marks, transaction) {
    for (const effect of transaction.effects) if (effect.is(setColouring)) return effect.value;
    return marks.map(transaction.changes);
  },
  provide: field => EditorView.decorations.from(field),
});

export const colouringTheme = EditorView.baseTheme({
  '.lv-header': { color: '#e0a040', fontWeight: 'bold' },
  '.lv-key': { color: '#6cb6ff' },
  '.lv-stray': { color: '#ff7b72', textDecoration: 'underline dotted' },
  '.lv-number': { color: '#a5d6a7' },
  '.lv-unread': { color: '#ff7b72' },
  '.lv-name': { color: '#d2a8ff' },
  '.lv-note': { color: '#8b949e', fontStyle: 'italic' },
});
