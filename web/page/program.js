// Runs one program of the browser build (the game, createQuillfen, or the watching tool,
// createQuillfenWatch) on a canvas, with the files it reads in its working folder, its standard
// output and error handed to the caller line by line, and the game's session recorded.
// It knows nothing of the page around it: the caller gives the canvas and the sinks.
import { keyboardOf } from './keyboard.js';

const GAME_FOLDER = '/game';
export const RECORDING = '/session.txt';

// Emscripten's own notices about its GL emulation are not the program's: they go to the console.
const EMSCRIPTEN_NOTICE = /^(WARNING: using emscripten GL|TODO: gl)/;

// Loads a program's script (quillfen.js, quillfen-watch.js) the first time it is needed.
export function loadScript(source) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = source;
    script.onload = resolve;
    script.onerror = () => reject(new Error(`${source} could not be loaded`));
    document.body.append(script);
  });
}

// A program's WebAssembly, fetched and compiled once for the page, as soon as it is asked for:
// streamed, so that the compiling goes along with the download (index.html preloads the game's),
// and every run of it (a restart, another level) instantiates the same compiled module.
const compiled = new Map();

async function compileFetched(wasm) {
  try {
    return await WebAssembly.compileStreaming(fetch(wasm));
  } catch {
    // A server that does not send it as application/wasm: compiled from its bytes.
    const response = await fetch(wasm);
    if (!response.ok) throw new Error(`${wasm} could not be loaded (${response.status})`);
    return WebAssembly.compile(await response.arrayBuffer());
  }
}

export function compiledModule(wasm) {
  if (!compiled.has(wasm)) {
    // A failure is not kept: the next run fetches again.
    compiled.set(wasm, compileFetched(wasm).catch(error => {
      compiled.delete(wasm);
      throw error;
    }));
  }
  return compiled.get(wasm);
}

// options: {factory, wasm?, canvas, files: [{name, bytes, path?}], args, record, print(line),
// printErr(line), onExit()}; with `wasm` (the program's .wasm file) the run instantiates the
// page's compiled module (compiledModule), else the program fetches and compiles its own. The
// run it gives back is {module, keys, record, ended, quit(), discard()}; `module` is set once
// the program is loaded, `ended` once it has returned.
export function startProgram(options) {
  const run = { module: null, keys: keyboardOf(), record: options.record, ended: false,
    quitting: false, discarded: false };
  // Asks the program to end as a closed window would (app/BrowserHost.cpp reads it); its last
  // frame, log and recording stay.
  run.quit = () => {
    run.quitting = true;
    if (run.module) run.module.quitRequested = true;
  };
  // Ends a program another replaces: it says nothing more, and one not yet started never starts.
  run.discard = () => {
    run.discarded = true;
    run.quit();
  };
  const heard = sink => line => { if (!run.discarded) sink(line); };
  let failed = null;
  const failure = new Promise((resolve, reject) => { failed = reject; });
  const instantiateWasm = (imports, receive) => {
    compiledModule(options.wasm).then(module => WebAssembly.instantiate(module, imports))
      .then(instance => receive(instance)).catch(error => {
        heard(options.printErr)(`The program could not start: ${error.message}`);
        failed(error);
      });
    return {}; // the exports come to `receive`
  };
  run.loaded = Promise.race([failure, options.factory({
    instantiateWasm: options.wasm ? instantiateWasm : undefined,
    canvas: options.canvas,
    keyboardListeningElement: run.keys,
    print: heard(options.print),
    printErr: heard(line => (EMSCRIPTEN_NOTICE.test(line) ? console.warn(line) : options.printErr(line))),
    onExit: () => {
      run.ended = true;
      if (options.onExit) options.onExit();
    },
    preRun: [m => {
      m.FS.mkdir(GAME_FOLDER);
      for (const file of options.files) m.FS.writeFile(file.path || GAME_FOLDER + '/' + file.name, file.bytes);
      m.FS.chdir(GAME_FOLDER);
      if (options.record) m.ENV.QUILLFEN_RECORD = RECORDING;
    }],
  })]).then(module => {
    run.module = module;
    module.quitRequested = run.quitting;
    if (!run.discarded) module.callMain(options.args);
    return run;
  });
  return run;
}

// The recording of a game's session so far (the whole of it once the game has ended).
export function recordingOf(run) {
  return run && run.record && run.module ? run.module.FS.readFile(RECORDING) : null;
}
