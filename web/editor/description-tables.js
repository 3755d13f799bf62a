// A level's description as the worker hands it over: the JSON of the level module with its
// records, overlay, findings and lint report as flat tables (tools/level-editor/
// DescriptionTables.h), read back into the fields of the JSON form (tools/level-editor/
// README.md). The overlay is built at once, for the world is drawn from all of it; a record
// builds its keys and value when first asked, a finding is made when first read, so a level of
// a hundred thousand records costs little until it is looked at.

const RECORD = 14;
const KEY = 5;
const VALUE = 4;
const FIELD = 3;
const SHAPE = 6;
const PARSED = 1;
const NAME = 2;
const END_OF_TEXT = 4;
const NUMBER = 0;
const INTEGER = 1;

// The tables' names, in the order the module lists them, and their element types.
const TABLES = [['records', Int32Array], ['keys', Int32Array], ['values', Int32Array],
  ['valueNumbers', Float64Array], ['fields', Int32Array], ['fieldNumbers', Float64Array],
  ['findings', Int32Array], ['shapes', Int32Array], ['shapeNumbers', Float32Array],
  ['findingRows', Int32Array], ['messages', Uint8Array], ['report', Uint8Array]];
const FINDING = 10;
const UTF8 = new TextDecoder();

// A number as the JSON form writes it: a float in nine digits, any other number exactly, and
// the words "nan", "inf" and "-inf".
function jsonNumber(x) {
  if (Number.isNaN(x)) return 'nan';
  if (!Number.isFinite(x)) return x > 0 ? 'inf' : '-inf';
  return x !== 0 && Math.fround(x) === x ? Number(x.toPrecision(9)) : x;
}

class TabledRecord {
  #tables;
  #strings;
  #at;
  #keys = null;
  #value = null;

  constructor(tables, strings, index) {
    this.#tables = tables;
    this.#strings = strings;
    this.#at = index * RECORD;
  }

  #int(offset) {
    return this.#tables.records[this.#at + offset];
  }

  get header() { return this.#strings[this.#int(0)]; }
  get kind() { return this.#strings[this.#int(1)]; }
  get from() { return this.#int(2); }
  get to() { return this.#int(3); }
  get lineNumber() { return this.#int(4); }
  get column() { return this.#int(5); }
  get name() { return this.#int(6) < 0 ? undefined : [this.#int(6), this.#int(7)]; }

  get keys() {
    if (this.#keys) return this.#keys;
    const { keys, values, valueNumbers } = this.#tables;
    this.#keys = [];
    for (let k = this.#int(8) * KEY, end = k + this.#int(9) * KEY; k < end; k += KEY) {
      const spans = [];
      for (let v = keys[k + 3], last = v + keys[k + 4]; v < last; v += 1) {
        const flags = values[v * VALUE + 2];
        const span = { range: [values[v * VALUE], values[v * VALUE + 1]], parsed: (flags & PARSED) !== 0 };
        if (flags & NAME) span.name = this.#strings[values[v * VALUE + 3]];
        else if (flags & PARSED) span.number = jsonNumber(valueNumbers[v]);
        if (flags & END_OF_TEXT) span.endOfText = true;
        spans.push(span);
      }
      this.#keys.push({ key: this.#strings[keys[k]], word: [keys[k + 1], keys[k + 2]], values: spans });
    }
    return this.#keys;
  }

  get value() {
    if (!this.#value) {
      const { fields, fieldNumbers } = this.#tables;
      this.#value = {};
      for (let f = this.#int(10), end = f + this.#int(11); f < end; f += 1) {
        const type = fields[f * FIELD + 1];
        this.#value[this.#strings[fields[f * FIELD]]] = type === NUMBER ? jsonNumber(fieldNumbers[f])
          : type === INTEGER ? fieldNumbers[f] : this.#strings[fields[f * FIELD + 2]];
      }
    }
    return this.#value;
  }

  get findings() {
    const first = this.#int(12);
    return Array.from(this.#tables.findings.subarray(first, first + this.#int(13)));
  }

  toJSON() {
    const { header, kind, from, to, lineNumber, column, keys, name, value, findings } = this;
    return { header, kind, from, to, lineNumber, column, keys, name, value, findings };
  }
}

// A finding of the lint; its message is decoded when first asked for.
class TabledFinding {
  #tables;
  #at;
  #message = null;

  constructor(tables, index) {
    this.#tables = tables;
    this.#at = index * FINDING;
  }

  #int(offset) {
    return this.#tables.findingRows[this.#at + offset];
  }

  get line() { return this.#int(0); }
  get column() { return this.#int(1); }
  get offset() { return this.#int(2); }
  get length() { return this.#int(3); }
  get severity() { return this.#int(4) === 0 ? 'error' : 'warning'; }
  get located() { return this.#int(5) !== 0; }
  get record() { return this.#int(6); }
  get file() { return this.#tables.strings[this.#int(9)]; }

  get message() {
    this.#message ??= UTF8.decode(this.#tables.messages.subarray(this.#int(7), this.#int(8)));
    return this.#message;
  }

  toJSON() {
    const { line, column, offset, length, severity, message, file, located, record } = this;
    return { line, column, offset, length, severity, message, file, located, record };
  }
}

// An array of `length` items, each made when first read: a level may have a finding a word,
// and the page reads the first two thousand.
function lazyList(length, make) {
  const indexOf = key => {
    const index = typeof key === 'string' && key !== '' ? Number(key) : NaN;
    return Number.isInteger(index) && index >= 0 && index < length ? index : -1;
  };
  return new Proxy(new Array(length), {
    has: (target, key) => indexOf(key) >= 0 || Reflect.has(target, key),
    get(target, key, receiver) {
      const index = indexOf(key);
      if (index < 0) return Reflect.get(target, key, receiver);
      target[index] ??= make(index);
      return target[index];
    },
  });
}

function shapesOf({ shapes, shapeNumbers }, strings) {
  const overlay = [];
  for (let s = 0; s < shapes.length; s += SHAPE) {
    const shape = { shape: strings[shapes[s]] };
    const numbers = shapeNumbers.subarray(shapes[s + 4], shapes[s + 4] + shapes[s + 5]);
    if (shape.shape === 'segment' || shape.shape === 'polyline') {
      shape.points = Array.from(numbers);
    } else {
      [shape.x, shape.y] = numbers;
      if (shape.shape === 'circle') shape.radius = numbers[2];
    }
    Object.assign(shape, { colour: strings[shapes[s + 2]], dashed: shapes[s + 3] !== 0, record: shapes[s + 1] });
    overlay.push(shape);
  }
  return overlay;
}

// The description of the module's JSON part and its tables (an ArrayBuffer each, as TABLES).
export function withTables(description, buffers) {
  if (!description.ok) return description;
  const tables = Object.fromEntries(TABLES.map(([name, Type], i) => [name, new Type(buffers[i])]));
  const { strings, ...rest } = description;
  tables.strings = strings;
  const records = [];
  for (let index = 0; index < tables.records.length / RECORD; index += 1) {
    records.push(new TabledRecord(tables, strings, index));
  }
  const findingCount = tables.findingRows.length / FINDING;
  const findings = lazyList(findingCount, index => new TabledFinding(tables, index));
  // The worst severity of each record's findings, by record index, for the world's marks.
  const flagged = new Map();
  for (let row = 0; row < tables.findingRows.length; row += FINDING) {
    const record = tables.findingRows[row + 6];
    if (record >= 0 && flagged.get(record) !== 'error') flagged.set(record, tables.findingRows[row + 4] === 0 ? 'error' : 'warning');
  }
  // The lint's report is decoded when read; its last line, the summary, at once.
  const { report } = tables;
  let lint = null;
  const end = report.length - (report[report.length - 1] === 10 ? 1 : 0);
  const summary = UTF8.decode(report.subarray(report.lastIndexOf(10, end - 1) + 1, end));
  const described = { ...rest, records, overlay: shapesOf(tables, strings), findings, summary };
  return Object.defineProperties(described, {
    lint: { enumerable: true, get: () => (lint ??= UTF8.decode(report)) },
    flagged: { value: flagged }, // not a field of the JSON form
  });
}
