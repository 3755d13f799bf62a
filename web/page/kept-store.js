// The recordings of the last sessions, kept in the browser's IndexedDB so that a reload or a
// closed tab loses none: {id (the session's start, in ms), level, date, bytes}.
export const KEPT = 20;
const STORE = 'recordings';

let opening = null;

function database() {
  opening ??= new Promise((resolve, reject) => {
    const request = indexedDB.open('quillfen', 1);
    request.onupgradeneeded = () => request.result.createObjectStore(STORE, { keyPath: 'id' });
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
  return opening;
}

// Runs act(store) in a transaction; its result is that of the request act gives back.
async function inStore(mode, act) {
  const transaction = (await database()).transaction(STORE, mode);
  const request = act(transaction.objectStore(STORE));
  return new Promise((resolve, reject) => {
    transaction.oncomplete = () => resolve(request?.result);
    transaction.onerror = () => reject(transaction.error);
    transaction.onabort = () => reject(transaction.error);
  });
}

// The recordings kept, the newest first.
export async function keptRecordings() {
  return (await inStore('readonly', store => store.getAll())).reverse();
}

// Keeps a session's recording in place of what was kept of it, and drops the oldest past KEPT,
// in one transaction.
export function keepRecording(entry) {
  return inStore('readwrite', store => {
    store.put(entry);
    const ids = store.getAllKeys();
    ids.onsuccess = () => {
      for (const id of ids.result.slice(0, Math.max(0, ids.result.length - KEPT))) store.delete(id);
    };
  });
}
