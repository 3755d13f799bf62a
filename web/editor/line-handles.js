// The handles of a line record: its two ends and its middle. Dragging one computes the line's
// new values; the edit rewrites only the value words the game reads them from (the last given
// of each key), each as the core's shortest text of the float.

const WORDS = { x: 'LineX', y: 'LineY', dx: 'LineDx', dy: 'LineDy' };

// The byte range of the value the game keeps for a key of the record, or null.
function valueWord(record, key) {
  for (let i = record.keys.length - 1; i >= 0; i -= 1) {
    const given = record.keys[i];
    if (given.key !== key) continue;
    const value = given.values[0];
    return value && value.parsed ? value.range : null;
  }
  return null;
}

// The handles the record offers: an end is offered where the words it moves are in the text.
export function lineHandles(record) {
  if (!record || record.kind !== 'line') return [];
  const { x, y, dx, dy } = record.value;
  if (![x, y, dx, dy].every(Number.isFinite)) return [];
  const has = key => valueWord(record, WORDS[key]) !== null;
  const handles = [];
  if (has('x') && has('y') && has('dx') && has('dy')) handles.push({ part: 'start', x, y });
  if (has('dx') && has('dy')) handles.push({ part: 'end', x: x + dx, y: y + dy });
  if (has('x') && has('y')) handles.push({ part: 'middle', x: x + dx / 2, y: y + dy / 2 });
  return handles;
}

// A coordinate placed by the pointer: to the grid (whole units at least), or free.
export function placed(value, grid, free) {
  if (free) return Math.fround(value);
  const step = grid > 0 ? grid : 1;
  return Math.round(value / step) * step;
}

// The line's values once `handle` is dragged from `grab` to `point` (world points).
export function draggedLine(record, handle, grab, point, grid, free) {
  const { x, y, dx, dy } = record.value;
  if (handle.part === 'end') {
    return { x, y, dx: placed(point.x, grid, free) - x, dy: placed(point.y, grid, free) - y };
  }
  if (handle.part === 'start') {
    const nx = placed(point.x, grid, free);
    const ny = placed(point.y, grid, free);
    return { x: nx, y: ny, dx: x + dx - nx, dy: y + dy - ny };
  }
  const nx = placed(x + point.x - grab.x, grid, free);
  const ny = placed(y + point.y - grab.y, grid, free);
  return { x: nx, y: ny, dx, dy };
}

// The changes of the text ([{from, to, insert}] in bytes) that give the record these values.
export async function lineRewrite(record, values, floatText) {
  const changes = [];
  for (const name of Object.keys(WORDS)) {
    const next = Math.fround(values[name]);
    if (next === Math.fround(record.value[name]) || !Number.isFinite(next)) continue;
    const range = valueWord(record, WORDS[name]);
    changes.push({ from: range[0], to: range[1], insert: await floatText(next) });
  }
  return changes;
}
