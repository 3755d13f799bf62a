// The files of a level: the bundled one beside the page, or those a player chose.

export async function readFile(file) {
  return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };
}

export async function bundledLevel() {
  const list = await (await fetch('level/files.txt')).text();
  const names = list.split('\n').filter(name => name !== '');
  return Promise.all(names.map(async name => ({
    name, bytes: new Uint8Array(await (await fetch('level/' + name)).arrayBuffer()) })));
}

// Of the files a player chose, those the game reads: the top of a chosen folder, or the files.
export function levelFilesAmong(files) {
  return Array.from(files).filter(file => (file.webkitRelativePath || file.name).split('/').length <= 2);
}
