// The level's words coloured by what the game's reader took them for: headers, keys, words
// that spend a key step without being a key, numbers, picture names, and the notes between
// records. The ranges come from the reader's description; only the records in sight are
// coloured (a level may hold a hundred thousand), and while a newer description is on its way
// the colours move with the edits.
import { StateEffect, StateField } from '@codemirror/state';
import { Decoration, EditorView, ViewPlugin } from '@codemirror/view';

// A new description on show: {description, map}.
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

// The index of the first record that ends at or after byte `offset`.
function firstRecordFrom(records, offset) {
  let low = 0;
  let high = records.length;
  while (low < high) {
    const middle = (low + high) >> 1;
    if (records[middle].to < offset) low = middle + 1;
    else high = middle;
  }
  return low;
}

// The marks of the records between the bytes `from` and `to`, in document ranges.
function marksBetween({ description, map }, from, to, ranges) {
  const add = (mark, a, b) => {
    const range = map.range(a, b);
    if (range.to > range.from) ranges.push(MARKS[mark].range(range.from, range.to));
  };
  const records = description.records;
  let index = firstRecordFrom(records, from);
  let noteFrom = index > 0 ? records[index - 1].to : 0;
  for (; index < records.length && records[index].from <= to; index += 1) {
    const record = records[index];
    add('note', Math.max(noteFrom, from), record.from);
    noteFrom = record.to;
    add('header', record.from, record.from + HEADER_BYTES.encode(record.header).length);
    if (record.name) add('name', record.name[0], record.name[1]);
    for (const key of record.keys) {
      if (key.word) add(key.key === 'None' ? 'stray' : 'key', key.word[0], key.word[1]);
      for (const value of key.values) add(value.parsed ? 'number' : 'unread', value.range[0], value.range[1]);
    }
  }
  add('note', Math.max(noteFrom, from), Math.min(to, map.length));
}

// The description the colours come from, while it is that of the text.
const described = StateField.define({
  create: () => null,
  update(value, transaction) {
    for (const effect of transaction.effects) if (effect.is(setColouring)) return effect.value;
    return transaction.docChanged ? null : value;
  },
});

const painter = ViewPlugin.fromClass(class {
  constructor(view) {
    this.decorations = Decoration.none;
    this.paint(view);
  }

  paint(view) {
    const shown = view.state.field(described);
    if (!shown || !shown.description.ok) return;
    const ranges = [];
    for (const { from, to } of view.visibleRanges) {
      marksBetween(shown, shown.map.toOffset(from), shown.map.toOffset(to), ranges);
    }
    this.decorations = Decoration.set(ranges, true);
  }

  update(update) {
    if (update.docChanged) this.decorations = this.decorations.map(update.changes);
    const fresh = update.state.field(described) !== update.startState.field(described);
    if (fresh || update.viewportChanged) this.paint(update.view);
  }
}, { decorations: plugin => plugin.decorations });

export const colouring = [described, painter];

export const colouringTheme = EditorView.baseTheme({
  '.lv-header': { color: '#e0a040', fontWeight: 'bold' },
  '.lv-key': { color: '#6cb6ff' },
  '.lv-stray': { color: '#ff7b72', textDecoration: 'underline dotted' },
  '.lv-number': { color: '#a5d6a7' },
  '.lv-unread': { color: '#ff7b72' },
  '.lv-name': { color: '#d2a8ff' },
  '.lv-note': { color: '#8b949e', fontStyle: 'italic' },
});
