// Where a level comes from and goes to: the bundled level beside the page, a folder or files
// the author chooses (or a folder opened in place), and Level.txt saved as a download (or
// back into that folder).

async function fetchBytes(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
  return new Uint8Array(await response.arrayBuffer());
}

let bundled = null;

// The bundled level's files, as the game's page has them (level/files.txt lists them); fetched
// once.
export function bundledLevel() {
  bundled ||= (async () => {
    const list = new TextDecoder().decode(await fetchBytes('level/files.txt'));
    const names = list.split('\n').filter(name => name !== '');
    return Promise.all(names.map(async name => ({ name, bytes: await fetchBytes('level/' + name) })));
  })();
  bundled.catch(() => { bundled = null; });
  return bundled;
}

// The files an input chose: those at the top of a chosen folder, or the chosen files.
export async function chosenFiles(input) {
  const chosen = Array.from(input.files).filter(file =>
    (file.webkitRelativePath || file.name).split('/').length <= 2);
  input.value = '';
  return Promise.all(chosen.map(async file => ({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) })));
}

export function download(bytes, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
}

// A folder opened through the File System Access API, where the browser has it: its files,
// and a function that saves Level.txt back in place.
export async function folderInPlace() {
  const folder = await window.showDirectoryPicker({ mode: 'readwrite' });
  const files = [];
  for await (const entry of folder.values()) {
    if (entry.kind === 'file') {
      const file = await entry.getFile();
      files.push({ name: entry.name, bytes: new Uint8Array(await file.arrayBuffer()) });
    }
  }
  const save = async (name, bytes) => {
    const writable = await (await folder.getFileHandle(name, { create: true })).createWritable();
    await writable.write(bytes);
    await writable.close();
  };
  return { files, save, name: folder.name };
}
