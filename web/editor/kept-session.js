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

let connection = null; // the database being opened, once
let ready = null; // the database once open: a page being left has no time to wait for one

function database() {
  connection ||= (async () => {
    const opening = indexedDB.open(DATABASE, 1);
    opening.onupgradeneeded = () => opening.result.createObjectStore(STORE);
    const db = await request(opening);
    db.onclose = () => { connection = ready = null; };
    ready = db;
    return db;
  })();
  connection.catch(() => { connection = null; });
  return connection;
}

// The kept session, or null (also where the browser keeps nothing).
export async function keptSession() {
  try {
    return (await request((await database()).transaction(STORE).objectStore(STORE).get(KEY))) || null;
  } catch {
    return null;
  }
}

// Writes at once, before its first wait.
async function put(db, session) {
  const transaction = db.transaction(STORE, 'readwrite');
  transaction.objectStore(STORE).put(session, KEY);
  transaction.commit?.();
  await new Promise((resolve, reject) => {
    transaction.oncomplete = resolve;
    transaction.onabort = () => reject(transaction.error);
  });
}

// Keeps the session a moment after the last call (edits come in bursts), and at once when the
// page is hidden or left (a reload, a closed tab), so that the last keystroke is kept too.
export function keeper(delay = 400) {
  let timer = 0;
  let pending = null;
  database().catch(() => {});
  const keep = () => {
    clearTimeout(timer);
    const session = pending;
    pending = null;
    if (!session) return;
    // Without a wait when the database is open: the page may be gone after this task.
    const kept = ready ? put(ready, session()) : database().then(db => put(db, session()));
    kept.catch(error => console.warn('The level could not be kept in the browser:', error));
  };
  window.addEventListener('pagehide', keep);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') keep();
  });
  return session => {
    clearTimeout(timer);
    pending = session;
    timer = setTimeout(keep, delay);
  };
}
