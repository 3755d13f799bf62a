// Files dropped onto the page: a level folder or a level's files (Level.txt among them) play as
// a level, one other file watches as a recording.

import { LIMITS } from './limits.js';

// The files at the top of a dropped folder, as File objects; past the most a level may have,
// one more says that there are too many.
async function folderFiles(directory) {
  const reader = directory.createReader();
  const entries = [];
  while (entries.length <= LIMITS.levelFiles) {
    const batch = await readBatch(reader);
    if (batch.length === 0) break;
    entries.push(...batch);
  }
  return Promise.all(entries.filter(entry => entry.isFile)
    .map(entry => new Promise((resolve, reject) => entry.file(resolve, reject))));
}

const readBatch = reader => new Promise((resolve, reject) => reader.readEntries(resolve, reject));

async function droppedFiles(transfer) {
  const entries = Array.from(transfer.items || [], item => item.webkitGetAsEntry?.()).filter(Boolean);
  const folder = entries.find(entry => entry.isDirectory);
  return folder ? folderFiles(folder) : Array.from(transfer.files);
}

// target: where files may be dropped (it shows a drop is welcome); onLevel(files), onRecording(file).
export function acceptDrops(target, onLevel, onRecording) {
  target.addEventListener('dragover', event => {
    event.preventDefault();
    target.classList.add('dropping');
  });
  target.addEventListener('dragleave', () => target.classList.remove('dropping'));
  target.addEventListener('drop', async event => {
    event.preventDefault();
    target.classList.remove('dropping');
    const files = await droppedFiles(event.dataTransfer);
    if (files.length === 0) return;
    const level = files.length > 1 || files[0].name === 'Level.txt';
    if (level) onLevel(files);
    else onRecording(files[0]);
  });
}
