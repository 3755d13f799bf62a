// What the game's reader makes of the text being edited. The text itself lives in the editor's
// state; this keeps the opened folder's pictures, how the file's bytes are shown, and the
// newest description the core gave for the text as it is (with the map from its byte offsets
// to the editor's positions). One describe runs at a time: edits made meanwhile are described
// together once it returns, so a description always belongs to the text it was asked for.
import { ByteMap, decodeLevel, encodeLevel } from './level-text.js';
import { mark } from './timings.js';

export const LEVEL_FILE = 'Level.txt';

export class LevelModel {
  // `onDescribed(shown)` draws a new description; it may return a promise of its pictures.
  constructor(core, onDescribed) {
    this.core = core;
    this.onDescribed = onDescribed;
    this.pictures = [];     // [{name, bytes}] of the folder beside Level.txt
    this.opened = null;     // Level.txt's bytes as opened, or null when the folder had none
    this.lineSeparator = '\n';
    this.latin1 = false;
    this.state = null;      // the editor state to describe
    this.shown = null;      // {description, map, doc}: the description on show and its text
    this.busy = false;
    this.waiting = [];      // resolvers of settled()
    this.onReading = () => {}; // hears whether the text on show is being read
    this.encoded = null;    // {doc, latin1, bytes}: the last text's bytes
  }

  // The files of a level folder; returns what the text pane shows of Level.txt.
  open(files) {
    const level = files.find(file => file.name === LEVEL_FILE);
    this.pictures = files.filter(file => file !== level);
    this.opened = level ? level.bytes : null;
    const decoded = decodeLevel(level ? level.bytes : new Uint8Array(0));
    this.lineSeparator = decoded.lineSeparator;
    this.latin1 = decoded.latin1;
    this.shown = null;
    return decoded;
  }

  // The bytes of an editor state's text, as saved (the last text's kept: a level of megabytes
  // is asked for its bytes by the reader and by the kept session).
  bytesOf(state) {
    if (this.encoded?.doc !== state.doc || this.encoded.latin1 !== this.latin1) {
      this.encoded = { doc: state.doc, latin1: this.latin1, bytes: encodeLevel(state.sliceDoc(), this.latin1) };
    }
    return this.encoded.bytes;
  }

  // The level folder with an editor state's text as its Level.txt. A folder without Level.txt
  // is read as the game reads it: without one, until one is typed.
  filesOf(state) {
    const files = this.pictures.slice();
    if (this.opened || state.doc.length > 0) files.push({ name: LEVEL_FILE, bytes: this.bytesOf(state) });
    return files;
  }

  // The editor's state has a new text (or a new file): describe it once the core is free.
  describe(state) {
    this.state = state;
    this.pump();
  }

  async pump() {
    if (this.busy || !this.state) return;
    const state = this.state;
    if (this.shown && this.shown.doc === state.doc) return this.settle();
    this.busy = true;
    this.onReading(true);
    let description;
    try {
      description = await this.core.describe(this.filesOf(state));
    } catch (error) {
      description = { ok: false, message: `The level could not be read: ${error.message || error}` };
    }
    this.busy = false;
    this.onReading(this.state.doc !== state.doc);
    if (this.state.doc === state.doc) {
      const map = new ByteMap(state.doc.toString(), this.lineSeparator, this.latin1);
      mark('mapped');
      this.shown = { description, map, doc: state.doc };
      await this.onDescribed(this.shown);
    }
    this.pump();
  }

  settle() {
    mark('settled');
    for (const resolve of this.waiting.splice(0)) resolve();
  }

  // Resolves once the description on show is that of the current text.
  settled() {
    return new Promise(resolve => {
      this.waiting.push(resolve);
      if (!this.busy) this.pump();
    });
  }

  // The record the byte offset falls in (from its header to its last word), or -1.
  recordAt(offset) {
    const records = this.shown?.description.records || [];
    let low = 0;
    let high = records.length - 1;
    while (low <= high) {
      const middle = (low + high) >> 1;
      if (records[middle].to < offset) low = middle + 1;
      else if (records[middle].from > offset) high = middle - 1;
      else return middle;
    }
    return -1;
  }
}
