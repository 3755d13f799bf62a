// The level being edited, kept in the browser's storage (IndexedDB) as it changes, so that a
// reload, a closed tab or a crash loses nothing: {level: Level.txt's bytes now, opened: its
// bytes as opened (or null), pictures: [{name, bytes}]}.

const DATABASE = 'quillfen-editor';
const STORE = 'session';
const KEY = 'last';

function request(operation) {
  return new Promise((resolve, reject) => {
    operation.onsuccess = () => resolve(operation.result);
    operation.onerror = () => reject(operation.error);
  });
}

async function store(mode) {
  const opening = indexedDB.open(DATABASE, 1);
  opening.onupgradeneeded = () => opening.result.createObjectStore(STORE);
  const database = await request(opening);
  return database.transaction(STORE, mode).objectStore(STORE);
}

// The kept session, or null (also where the browser keeps nothing).
export async function keptSession() {
  try {
    return (await request((await store('readonly')).get(KEY))) || null;
  } catch {
    return null;
  }
}

// Keeps the session a moment after the last call (edits come in bursts).
export function keeper(delay = 400) {
  let timer = 0;
  return session => {
    clearTimeout(timer);
    timer = setTimeout(async () => {
      try {
        await request((await store('readwrite')).put(session(), KEY));
      } catch (error) {
        console.warn('The level could not be kept in the browser:', error);
      }
    }, delay);
  };
}
