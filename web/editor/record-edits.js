// Whole records added and removed as text: a new record is one line in the form of the
// format's example, after the last record of its kind (or at the end of the file); a removed
// record takes its text, and the line it leaves blank, with it. Changes are in the editor's
// document positions.

const HEADERS = { line: '#_CollVec', arc: '#_CollArc', tile: '#_TList', image: '#_Image' };

// The text of a new record of `kind` with these values; numbers as the game reads them back.
export async function newRecordText(kind, value, floatText, description) {
  const f = x => floatText(x);
  if (kind === 'line') {
    const ids = description.records.filter(r => r.kind === 'line').map(r => Number(r.value.id) || 0);
    const id = Math.max(0, ...ids) + 1;
    return `#_CollVec //X ${await f(value.x)} //Y ${await f(value.y)} //Dx ${await f(value.dx)} ` +
      `//Dy ${await f(value.dy)} //Type 3 //ID ${id}`;
  }
  if (kind === 'arc') {
    return `#_CollArc //Position ${await f(value.x)} ${await f(value.y)} //Radius ${await f(value.radius)} ` +
      '//Sector 15 //flag 1 //speed/distance 0 0';
  }
  if (kind === 'tile') return `#_TList //Image tile.bmp //Id 0 //Vector ${await f(value.x)} ${await f(value.y)} //ImgId 0`;
  return `#_Image ${value.picture}`;
}

// The change that puts a new record's text on a line of its own after the last record of its
// kind, or at the end.
export function insertion(state, map, description, kind, text) {
  const header = HEADERS[kind];
  const last = description.records.filter(record => record.header === header).pop();
  const br = state.lineBreak;
  if (last) {
    const at = state.doc.lineAt(map.toPosition(last.to - 1)).to;
    return { from: at, insert: br + text };
  }
  const end = state.doc.length;
  const lastLine = state.doc.line(state.doc.lines);
  return { from: end, insert: (lastLine.length > 0 ? br : '') + text + br };
}

// The change that removes a record: its text, and the whole line when nothing else is on it.
export function deletion(state, map, record) {
  const { from, to } = map.range(record.from, record.to);
  const first = state.doc.lineAt(from);
  const last = state.doc.lineAt(to);
  const blank = text => /^[ \t\r]*$/.test(text);
  if (!blank(state.sliceDoc(first.from, from)) || !blank(state.sliceDoc(to, last.to))) return { from, to };
  if (last.number < state.doc.lines) return { from: first.from, to: last.to + 1 };
  if (first.number > 1) return { from: first.from - 1, to: last.to };
  return { from: first.from, to: last.to };
}
