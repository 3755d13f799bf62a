// The page's way to the level module: starts the worker (level-worker.js) and matches its
// replies to requests by id. What a level means comes only from there, never from the page.
//
//   const core = await createLevelCore();
//   const description = await core.describe([{name: 'Level.txt', bytes}]);
//   const picture = await core.picture('bitmap2.bmp'); // {width, height, rgba} or null
//   const text = await core.floatText(12.5);          // '12.5'
//   core.terminate();
//
// A describe asked while another is being read waits; a newer one takes its place, and both
// resolve with the newer one's description. A worker that fails is replaced for the next request.
import { withTables } from './description-tables.js';
import { mark, markWorker, timed } from './timings.js';

const WORKER_URL = new URL('./level-worker.js', import.meta.url);

export async function createLevelCore(workerUrl = WORKER_URL) {
  let worker = null;
  let nextId = 1;
  const pending = new Map(); // id -> {resolve, reject}
  let describing = false;
  let waiting = null; // the describe that waits: {files, callers: [{resolve, reject}]}
  let answered = false; // the module has loaded and answered once: a failure later restarts it

  function failAll(message) {
    for (const { reject } of pending.values()) reject(new Error(message));
    pending.clear();
  }

  // The files' bytes the worker holds, by name: an unchanged picture is not sent again.
  let held = new Map();

  function start() {
    worker = new Worker(workerUrl);
    held = new Map();
    worker.onmessage = (event) => {
      const { id, result, error, fatal } = event.data;
      answered = true;
      const caller = pending.get(id);
      pending.delete(id);
      if (fatal) restart(error);
      if (!caller) return;
      if (error !== undefined) caller.reject(new Error(error));
      else caller.resolve(result);
    };
    worker.onerror = (event) => {
      event.preventDefault();
      restart(event.message || 'the level module failed to load');
    };
  }

  function restart(message) {
    worker.terminate();
    worker = null;
    failAll(`level module: ${message}`);
    if (answered) start();
  }

  function ask(message, transfer = []) {
    if (worker === null) return Promise.reject(new Error('the level core has been stopped'));
    const id = nextId++;
    return new Promise((resolve, reject) => {
      pending.set(id, { resolve, reject });
      worker.postMessage({ id, ...message }, transfer);
    });
  }

  function settle(callers, run) {
    run.then((result) => callers.forEach((c) => c.resolve(result)),
      (error) => callers.forEach((c) => c.reject(error)));
  }

  function describeNext() {
    if (describing || waiting === null) return;
    const { files, callers } = waiting;
    waiting = null;
    describing = true;
    const list = Array.isArray(files) ? files : [];
    const kept = file => file && file.bytes instanceof Uint8Array && held.get(file.name) === file.bytes;
    const sent = list.map(file => (kept(file) ? { name: file.name, held: true } : file));
    held = new Map(list.filter(file => file && file.bytes instanceof Uint8Array).map(file => [file.name, file.bytes]));
    mark('posted');
    const run = ask({ kind: 'describe', files: sent, timed }).then(({ description, tables, stamps }) => {
      markWorker(stamps);
      mark('answered');
      const read = withTables(description, tables);
      mark('read');
      return read;
    });
    settle(callers, run);
    run.catch(() => { held = new Map(); }).finally(() => {
      describing = false;
      describeNext();
    });
  }

  start();
  // The module is ready once it answers.
  await ask({ kind: 'floatText', value: 0 });

  return {
    describe(files) {
      return new Promise((resolve, reject) => {
        const callers = waiting ? waiting.callers : [];
        callers.push({ resolve, reject });
        waiting = { files, callers };
        describeNext();
      });
    },
    picture(name) {
      return ask({ kind: 'picture', name });
    },
    floatText(value) {
      return ask({ kind: 'floatText', value });
    },
    terminate() {
      if (worker === null) return;
      worker.terminate();
      worker = null;
      failAll('the level core has been stopped');
    },
  };
}
