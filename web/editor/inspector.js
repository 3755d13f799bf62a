// The inspector: the selected record's values as fields, each rewriting only its own word in
// the text (a field whose word the text lacks is shown but cannot be changed). Bits are named
// by what a line's or an arc's contact with the avatar does with them.
import { valueWord } from './record-handles.js';

const LINE_TYPE = [[1, 'solid on the side opposite the normal (a floor walked on from above)'],
  [2, "solid on the normal's side"]];
const ARC_SECTOR = [[1, 'lower right'], [2, 'lower left'], [4, 'upper left'], [8, 'upper right']];
const ARC_FLAG = [[1, 'solid from outside'], [2, 'solid from inside'], [4, 'holds fast riders outside'],
  [8, 'holds fast riders inside'], [16, 'attraction ring']];

// Each kind's fields: [value name, label, where its word is (key, which value), form, bits].
const FIELDS = {
  line: [['x', 'x', ['LineX', 0], 'float'], ['y', 'y', ['LineY', 0], 'float'],
    ['dx', 'dx', ['LineDx', 0], 'float'], ['dy', 'dy', ['LineDy', 0], 'float'],
    ['type', 'type', ['LineType', 0], 'int', LINE_TYPE], ['id', 'id', ['LineId', 0], 'int']],
  arc: [['x', 'centre x', ['ArcCentre', 0], 'float'], ['y', 'centre y', ['ArcCentre', 1], 'float'],
    ['radius', 'radius', ['ArcRadius', 0], 'float'], ['quadrant', 'sector', ['ArcSector', 0], 'int', ARC_SECTOR],
    ['flag', 'flag', ['ArcFlag', 0], 'int', ARC_FLAG], ['minSpeed', 'speed', ['ArcSpeedDistance', 0], 'float'],
    ['distance', 'distance', ['ArcSpeedDistance', 1], 'float']],
  tile: [['imageName', 'picture', 'name', 'name'], ['id', 'id', ['TileId', 0], 'int'],
    ['x', 'x', ['TileVector', 0], 'float'], ['y', 'y', ['TileVector', 1], 'float'],
    ['imageId', 'picture id', ['TileImageId', 0], 'int']],
  image: [['fileName', 'picture', 'name', 'name']],
  size: [['width', 'width', ['SizeValues', 0], 'float'], ['height', 'height', ['SizeValues', 1], 'float']],
  player: [['hp', 'hit points', ['PlayerHp', 'last'], 'int'], ['ammoG', 'ammo G', ['PlayerAmmo', 0], 'int'],
    ['ammoF', 'ammo F', ['PlayerAmmo', 1], 'int'], ['ammoB', 'ammo B', ['PlayerAmmo', 2], 'int'],
    ['score', 'score', ['PlayerScore', 0], 'int']],
};

// The word a field rewrites, as a byte range, or null.
function wordOf(record, where) {
  if (where === 'name') return record.name || null;
  if (where[1] !== 'last') return valueWord(record, where);
  // Hit points: a second number, where it parses, replaces the first.
  const second = valueWord(record, [where[0], 1]);
  return second || valueWord(record, [where[0], 0]);
}

// The text a field's input stands for, or null when the game would not read it back.
async function wordText(form, input, floatText) {
  const text = input.trim();
  if (form === 'name') return /^\S{1,254}$/.test(text) ? text : null;
  const number = Number(text);
  if (text === '' || !Number.isFinite(number)) return null;
  if (form === 'float') return floatText(number);
  return Number.isInteger(number) && Math.abs(number) < 2 ** 31 ? String(number) : null;
}

// options: {floatText(x), rewrite(record, [{from, to, insert}])}
export function createInspector(element, options) {
  const field = (record, [name, label, where, form, bits]) => {
    const word = wordOf(record, where);
    const row = document.createElement('label');
    row.className = 'field';
    const input = document.createElement('input');
    input.value = String(record.value[name] ?? '');
    input.disabled = !word;
    input.title = word ? '' : 'not in the text: nothing to rewrite';
    input.dataset.field = name;
    input.addEventListener('change', async () => {
      const insert = await wordText(form, input.value, options.floatText);
      if (insert === null) input.setCustomValidity('the game would not read this');
      else options.rewrite(record, [{ from: word[0], to: word[1], insert }]);
      input.reportValidity();
    });
    row.append(label + ' ', input);
    const rows = [row];
    for (const [bit, meaning] of bits || []) {
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = (record.value[name] & bit) !== 0;
      box.disabled = !word;
      box.addEventListener('change', () => {
        const insert = String((record.value[name] ^ bit) & 255);
        options.rewrite(record, [{ from: word[0], to: word[1], insert }]);
      });
      const line = document.createElement('label');
      line.className = 'bit';
      line.append(box, ` ${bit}: ${meaning}`);
      rows.push(line);
    }
    return rows;
  };
  return {
    show(record) {
      const fields = record && record.value ? FIELDS[record.kind] || [] : [];
      const heading = document.createElement('p');
      heading.textContent = record ? `${record.header} at ${record.lineNumber}:${record.column}` : 'No record selected.';
      element.replaceChildren(heading, ...fields.flatMap(entry => field(record, entry)));
    },
  };
}
