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

function emptyFolder(FS) {
  for (const name of FS.readdir(FOLDER)) {
    if (name !== '.' && name !== '..') FS.unlink(`${FOLDER}/${name}`);
  }
}

function describe(module, files) {
  emptyFolder(module.FS);
  const leftOut = [];
  for (const file of Array.isArray(files) ? files : []) {
    if (!plainName(file && file.name) || !(file.bytes instanceof Uint8Array)) {
      leftOut.push(String(file && file.name));
      continue;
    }
    module.FS.writeFile(`${FOLDER}/${file.name}`, file.bytes);
  }
  const text = module.ccall('quillfen_describe_level', 'string', ['string'], [FOLDER]);
  const description = JSON.parse(text);
  if (leftOut.length > 0) description.leftOut = leftOut;
  return description;
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
  const { id, kind, files, name, value } = event.data;
  try {
    const module = await ready;
    if (kind === 'describe') {
      self.postMessage({ id, result: describe(module, files) });
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
