// The handles of a record in the world: a line's two ends and its middle (which moves the whole
// line), an arc's centre and a point on its radius, a tile's position. Dragging one computes the
// record's new values; the edit rewrites only the value words the game reads them from (of the
// last given of each key), each as the core's shortest text of the float.

// For each kind, where each value the handles move is written: [key, which value of the key].
const WORDS = {
  line: { x: ['LineX', 0], y: ['LineY', 0], dx: ['LineDx', 0], dy: ['LineDy', 0] },
  arc: { x: ['ArcCentre', 0], y: ['ArcCentre', 1], radius: ['ArcRadius', 0] },
  tile: { x: ['TileVector', 0], y: ['TileVector', 1] },
};

// The byte range of the value the game keeps, or null where the text has none to rewrite.
export function valueWord(record, [key, index]) {
  for (let i = record.keys.length - 1; i >= 0; i -= 1) {
    if (record.keys[i].key !== key) continue;
    const value = record.keys[i].values[index];
    return value && value.parsed ? value.range : null;
  }
  return null;
}

// The handles of each kind: the values each moves, and where it sits.
const HANDLES = {
  line: ({ x, y, dx, dy }) => [
    { part: 'start', moves: ['x', 'y', 'dx', 'dy'], x, y },
    { part: 'end', moves: ['dx', 'dy'], x: x + dx, y: y + dy },
    { part: 'middle', moves: ['x', 'y'], x: x + dx / 2, y: y + dy / 2 }],
  arc: ({ x, y, radius }) => [
    { part: 'centre', moves: ['x', 'y'], x, y },
    { part: 'radius', moves: ['radius'], x: x + radius, y }],
  tile: ({ x, y }) => [{ part: 'position', moves: ['x', 'y'], x, y }],
};

// The handles the record offers: each where the words it rewrites are in the text.
export function handlesOf(record) {
  const words = record && WORDS[record.kind];
  if (!words) return [];
  const numbers = Object.keys(words).map(name => record.value[name]);
  if (!numbers.every(Number.isFinite)) return [];
  return HANDLES[record.kind](record.value).filter(handle =>
    handle.moves.every(name => valueWord(record, words[name]) !== null));
}

// A coordinate placed by the pointer: to the grid (whole units at least), or free.
export function placed(value, grid, free) {
  if (free) return Math.fround(value);
  const step = grid > 0 ? grid : 1;
  return Math.round(value / step) * step;
}

// The record's values once `handle` is dragged from `grab` to `point` (world points).
export function dragged(record, handle, grab, point, grid, free) {
  const value = { ...record.value };
  const at = { x: placed(point.x, grid, free), y: placed(point.y, grid, free) };
  if (handle.part === 'end') return { ...value, dx: at.x - value.x, dy: at.y - value.y };
  if (handle.part === 'start') return { ...value, x: at.x, y: at.y, dx: value.x + value.dx - at.x, dy: value.y + value.dy - at.y };
  if (handle.part === 'radius') return { ...value, radius: Math.max(0, at.x - value.x) };
  if (handle.part === 'middle') {
    return { ...value, x: placed(value.x + point.x - grab.x, grid, free), y: placed(value.y + point.y - grab.y, grid, free) };
  }
  return { ...value, x: at.x, y: at.y };
}

// What stands for the record in the world while a handle is dragged.
export function previewOf(record, value) {
  const shape = { colour: '#ffffff', dashed: false, record: -1 };
  if (record.kind === 'line') return { ...shape, shape: 'segment', points: [value.x, value.y, value.x + value.dx, value.y + value.dy] };
  if (record.kind === 'arc') return { ...shape, shape: 'circle', x: value.x, y: value.y, radius: value.radius };
  return { ...shape, shape: 'dot', x: value.x, y: value.y };
}

// The changes of the text ([{from, to, insert}] in bytes) that give the record these values.
export async function rewriteOf(record, value, floatText) {
  const changes = [];
  for (const [name, word] of Object.entries(WORDS[record.kind])) {
    const next = Math.fround(value[name]);
    if (next === Math.fround(record.value[name]) || !Number.isFinite(next)) continue;
    const range = valueWord(record, word);
    changes.push({ from: range[0], to: range[1], insert: await floatText(next) });
  }
  return changes;
}
