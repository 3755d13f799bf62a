// Keeps the recording of every game session in the browser as it goes, so that a closed tab or
// a reload loses at most what came after its last checkpoint: a copy every few seconds and when
// the page is hidden or left, each cut at the last checkpoint (it replays, checked, to there),
// and the whole recording once the game has ended. A session is kept once the player has
// pressed a key or a button in it; a recording is kept to at most what the page watches.
import { keepRecording } from './kept-store.js';
import { LIMITS } from './limits.js';
import { recordingOf } from './program.js';
import { recordingFacts, cutAtLastCheckpoint } from './recording-text.js';

const PERIOD_MS = 3000;

// changed(): a copy has been kept.
export function sessionKeeper(changed) {
  const sessions = new Map(); // run -> {id, level, date, kept: bytes kept so far}
  let lastId = 0;

  const recording = run => {
    try {
      return recordingOf(run);
    } catch {
      return null; // the program has not created its recording yet
    }
  };

  async function copy(run, session) {
    const bytes = recording(run);
    if (!bytes) {
      if (run.discarded) sessions.delete(run); // replaced before it started: nothing to keep
      return;
    }
    const whole = run.ended && bytes.length <= LIMITS.recording;
    if (run.ended) sessions.delete(run);
    const part = whole ? bytes : cutAtLastCheckpoint(bytes, LIMITS.recording);
    if (part.length === session.kept || !recordingFacts(part).played) return;
    session.kept = part.length;
    try {
      await keepRecording({ id: session.id, level: session.level, date: session.date, bytes: part });
      changed();
    } catch (error) {
      console.warn('The session\'s recording is not kept in the browser: ' + error);
    }
  }

  const copyAll = () => { for (const [run, session] of sessions) copy(run, session); };
  setInterval(copyAll, PERIOD_MS);
  addEventListener('pagehide', copyAll);
  document.addEventListener('visibilitychange', () => { if (document.hidden) copyAll(); });

  return {
    // A recorded session starts; level: its name as the player knows it ('' for none).
    started(run, level) {
      lastId = Math.max(Date.now(), lastId + 1);
      sessions.set(run, { id: lastId, level, date: new Date(lastId).toISOString(), kept: 0 });
    },
    // The session's game has ended: its whole recording is kept.
    ended(run) {
      const session = sessions.get(run);
      if (session) copy(run, session);
    },
    // Whether a kept recording is that of a session still playing in this page.
    playing: id => [...sessions.values()].some(session => session.id === id),
  };
}
