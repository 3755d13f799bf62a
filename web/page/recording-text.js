// What the page reads of a session's recording (the game writes it, app/SessionRecorder.h):
// the level's hash, its checkpoints, whether the player did anything, and why it ended.
const decoder = new TextDecoder('latin1'); // a character a byte, so offsets are byte offsets
const CHECK = /^(\d+) check [0-9a-f]+\n/gm;

const textOf = bytes => decoder.decode(bytes);

function lastCheck(text) {
  let last = null;
  for (const match of text.matchAll(CHECK)) last = match;
  return last;
}

// The recording's first `most` bytes up to its last whole checkpoint line, ended there as the
// game ends one whose window closes (the next step's quit, then the end line): it replays, and
// is checked, to that checkpoint and stops. Empty when it has no checkpoint yet.
export const CUT_OFF = 'cut off';
export function cutAtLastCheckpoint(bytes, most) {
  const ending = step => `${step + 1} quit\n# end: ${CUT_OFF}\n`;
  const last = lastCheck(textOf(bytes.subarray(0, most - ending(Number.MAX_SAFE_INTEGER).length)));
  if (!last) return new Uint8Array();
  const kept = last.index + last[0].length;
  const end = ending(Number(last[1]));
  const cut = new Uint8Array(kept + end.length);
  cut.set(bytes.subarray(0, kept));
  cut.set(Uint8Array.from(end, c => c.charCodeAt(0)), kept);
  return cut;
}

// {steps: the last checkpoint's step, end: why the game ended ('' when the recording stops
// before its end line), level: the first digits of Level.txt's hash, played: the player pressed
// a key or a button}.
export function recordingFacts(bytes) {
  const text = textOf(bytes);
  const last = lastCheck(text);
  const level = /^# level .* ([0-9a-f]{8})[0-9a-f]*$/m.exec(text);
  return {
    steps: last ? Number(last[1]) : 0,
    end: /^# end: (.*)$/m.exec(text)?.[1] ?? '',
    level: level ? level[1] : '',
    played: /^\d+ (down|up|click) /m.test(text),
  };
}
