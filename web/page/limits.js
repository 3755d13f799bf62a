// What the page agrees to read of a player's files, so that a file that is no level or no
// recording (or one made to hurt) never costs the tab more than a few hundred megabytes: it
// is refused, with the reason, before a byte of it is read. What a file means is the game's to
// say: the page looks only at names, counts and sizes.
const MiB = 1024 * 1024;
export const LIMITS = {
  levelFiles: 1000,          // files at the top of a level folder
  levelText: 1 * MiB,        // Level.txt (the bundled one is 5 KiB)
  levelFile: 64 * MiB,       // any other file of a level (a 4096x4096 bitmap is 64 MiB)
  levelTotal: 128 * MiB,     // a level's files together
  recording: 4 * MiB,        // a recording to watch (hours of play; a million events is more)
};

const size = bytes => (bytes >= MiB ? `${(bytes / MiB).toFixed(1)} MiB` : `${bytes} bytes`);

// Why the page refuses these files as a level, or '' when it reads them.
export function levelRefusal(files) {
  if (files.length > LIMITS.levelFiles) {
    return `the folder has more than ${LIMITS.levelFiles} files; a level has at most ${LIMITS.levelFiles}`;
  }
  for (const file of files) {
    const most = file.name === 'Level.txt' ? LIMITS.levelText : LIMITS.levelFile;
    if (file.size > most) return `${file.name} is ${size(file.size)}; at most ${size(most)}`;
  }
  const total = files.reduce((sum, file) => sum + file.size, 0);
  if (total > LIMITS.levelTotal) {
    return `the level's files come to ${size(total)}; at most ${size(LIMITS.levelTotal)} in all`;
  }
  return '';
}

// Why the page refuses a file as a recording to watch, or ''.
export function recordingRefusal(file) {
  return file.size > LIMITS.recording ? `${file.name} is ${size(file.size)}; a recording is at most ${size(LIMITS.recording)}` : '';
}
