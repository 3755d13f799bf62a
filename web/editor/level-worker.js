// The level editor's worker: runs the level module (quillfen-level.js, built from the game's
// own reader, loader, lint and overlay) off the page's thread. Each request writes the level's
// files into the module's folder and asks it what they mean; replies carry the request's id.
/* global importScripts, createQuillfenLevel */
'use strict';

importScripts('../quillfen-level.js');

const FOLDER = '/level';

const ready = createQuillfenLevel({
  // The module's .wasm lies beside its .js, one folder up from this worker.
  locateFile: (name) => new URL(`../${name}`, self.location.href).href,
  print: () => {},
  printErr: () => {},
}).then((module) => {
  module.FS.mkdir(FOLDER);
  return module;
});

// A file name the folder can hold: one plain name, nothing that climbs out of it.
function plainName(name) {
  return typeof name === 'string' && name !== '' && name !== '.' && name !== '..' &&
    !name.includes('/') && !name.includes('\0');
}

// The files now in the module's folder: name -> bytes.
const written = new Map();

// Compared four bytes at a time where both lie on a word boundary.
function sameBytes(a, b) {
  if (a === b) return true;
  if (a.length !== b.length) return false;
  let i = 0;
  if (a.byteOffset % 4 === 0 && b.byteOffset % 4 === 0) {
    const words = a.length >> 2;
    const x = new Int32Array(a.buffer, a.byteOffset, words);
    const y = new Int32Array(b.buffer, b.byteOffset, words);
    for (; i < words; i += 1) if (x[i] !== y[i]) return false;
    i = words * 4;
  }
  for (; i < a.length; i += 1) if (a[i] !== b[i]) return false;
  return true;
}

// Makes the folder hold exactly `files`, writing only those whose bytes changed: the pictures
// stay as they were while the text is typed. A file {name, held: true} is the one written
// under that name before (level-core.js sends a picture's bytes once).
function fillFolder(FS, files) {
  const leftOut = [];
  const wanted = new Map();
  for (const file of Array.isArray(files) ? files : []) {
    const bytes = file && file.held === true ? written.get(file.name) : file && file.bytes;
    if (!plainName(file && file.name) || !(bytes instanceof Uint8Array)) leftOut.push(String(file && file.name));
    else wanted.set(file.name, bytes);
  }
  for (const name of written.keys()) {
    if (wanted.has(name)) continue;
    FS.unlink(`${FOLDER}/${name}`);
    written.delete(name);
  }
  for (const [name, bytes] of wanted) {
    if (written.has(name) && sameBytes(written.get(name), bytes)) continue;
    written.delete(name);
    FS.writeFile(`${FOLDER}/${name}`, bytes);
    written.set(name, bytes);
  }
  return leftOut;
}

// With `stamps` (an object), each step's end on the clock shared with the page (timings.js).
function describe(module, files, stamps) {
  const stamp = stamps ? (step) => { stamps[step] = performance.timeOrigin + performance.now(); } : () => {};
  stamp('worker-woke');
  const leftOut = fillFolder(module.FS, files);
  stamp('folder-written');
  const text = module.ccall('quillfen_describe_level', 'string', ['string'], [FOLDER]);
  stamp('module-described');
  const description = JSON.parse(text);
  if (leftOut.length > 0) description.leftOut = leftOut;
  const tables = tablesOf(module);
  stamp('tables-copied');
  return { description, tables, stamps };
}

// Copies of the last description's tables, each in a buffer of its own to hand over
// (description-tables.js reads them).
function tablesOf(module) {
  const at = module.ccall('quillfen_description_tables', 'number', [], []);
  const count = new Uint32Array(module.HEAPU8.buffer, at, 1)[0];
  const spans = new Uint32Array(module.HEAPU8.buffer, at + 4, count * 2).slice();
  const tables = [];
  for (let i = 0; i < spans.length; i += 2) tables.push(module.HEAPU8.slice(spans[i], spans[i] + spans[i + 1]).buffer);
  return tables;
}

function picture(module, name) {
  if (!plainName(name)) return null;
  const at = module.ccall('quillfen_picture_rgba', 'number', ['string', 'string'], [FOLDER, name]);
  if (at === 0) return null;
  const size = new Int32Array(module.HEAPU8.slice(at, at + 8).buffer);
  const [width, height] = size;
  const bytes = module.HEAPU8.slice(at + 8, at + 8 + width * height * 4);
  return { width, height, rgba: new Uint8ClampedArray(bytes.buffer) };
}

function floatText(module, value) {
  return module.ccall('quillfen_float_text', 'string', ['number'], [Math.fround(Number(value))]);
}

self.onmessage = async (event) => {
  const { id, kind, files, name, value, timed } = event.data;
  try {
    const module = await ready;
    if (kind === 'describe') {
      const result = describe(module, files, timed ? {} : undefined);
      self.postMessage({ id, result }, result.tables);
    } else if (kind === 'picture') {
      const result = picture(module, name);
      self.postMessage({ id, result }, result ? [result.rgba.buffer] : []);
    } else if (kind === 'floatText') {
      self.postMessage({ id, result: floatText(module, value) });
    } else {
      self.postMessage({ id, error: `unknown request '${kind}'` });
    }
  } catch (error) {
    // A module that failed (out of memory, an abort) cannot be trusted with the next request.
    const fatal = error instanceof WebAssembly.RuntimeError || /abort/i.test(String(error));
    self.postMessage({ id, error: String(error && error.message ? error.message : error), fatal });
  }
};
