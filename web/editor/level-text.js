// Level.txt as the text pane holds it, and back to the exact bytes.
//
// The text keeps every byte: a file that is valid UTF-8 is its decoded text (a byte order mark
// included); any other file shows each byte as the Latin-1 character of the same number. The
// line separator is the file's own (CRLF, LF or CR); where a file mixes them, lines split at
// LF and a CR before it stays a character of the line, so nothing is rewritten.

const UTF8 = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });
const ENCODER = new TextEncoder();

function latin1Text(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) {
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  }
  return text;
}

// The separator the editor splits lines at: CRLF only where every LF follows a CR.
function lineSeparatorOf(text) {
  const lf = text.indexOf('\n');
  if (lf < 0) return text.includes('\r') ? '\r' : '\n';
  return /(^|[^\r])\n/.test(text) ? '\n' : '\r\n';
}

// {text, lineSeparator, latin1} of a file's bytes.
export function decodeLevel(bytes) {
  let text;
  let latin1 = false;
  try {
    text = UTF8.decode(bytes);
  } catch {
    text = latin1Text(bytes);
    latin1 = true;
  }
  return { text, lineSeparator: lineSeparatorOf(text), latin1 };
}

// The bytes of a text (its line breaks already the file's separator). In a Latin-1 text a
// character beyond Latin-1, which can only have been typed, is saved as '?'.
export function encodeLevel(text, latin1) {
  if (!latin1) return ENCODER.encode(text);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; i += 1) {
    const code = text.charCodeAt(i);
    bytes[i] = code < 256 ? code : 0x3f;
  }
  return bytes;
}

// Bytes of the UTF-16 unit at `i` of `text` as UTF-8 writes it: a surrogate pair is four bytes,
// counted on its first unit; a lone surrogate is written as U+FFFD.
function utf8Bytes(text, i) {
  const code = text.charCodeAt(i);
  if (code < 0x80) return 1;
  if (code < 0x800) return 2;
  if (code >= 0xd800 && code < 0xdc00) {
    const next = text.charCodeAt(i + 1);
    return next >= 0xdc00 && next < 0xe000 ? 4 : 3;
  }
  if (code >= 0xdc00 && code < 0xe000) {
    const previous = text.charCodeAt(i - 1);
    return previous >= 0xd800 && previous < 0xdc00 ? 0 : 3;
  }
  return 3;
}

const STRIDE = 256;

// Between byte offsets of the file and positions of the editor's document (where a line break
// is one position, whatever its bytes). `doc` is the document's text with "\n" breaks.
export class ByteMap {
  constructor(doc, lineSeparator, latin1) {
    this.doc = doc;
    this.breakBytes = lineSeparator.length;
    this.latin1 = latin1;
    // The byte offset of every STRIDE-th position, and of the end.
    this.marks = new Float64Array(Math.floor(doc.length / STRIDE) + 2);
    let bytes = 0;
    for (let i = 0; i < doc.length; i += 1) {
      if (i % STRIDE === 0) this.marks[i / STRIDE] = bytes;
      const code = doc.charCodeAt(i);
      bytes += code < 0x80 && code !== 10 ? 1 : this.bytesAt(i); // the common case inline
    }
    if (doc.length % STRIDE === 0) this.marks[doc.length / STRIDE] = bytes;
    this.length = bytes;
  }

  bytesAt(i) {
    if (this.doc.charCodeAt(i) === 10) return this.breakBytes;
    return this.latin1 ? 1 : utf8Bytes(this.doc, i);
  }

  // The position of the character holding byte `offset` (the end for offsets past it).
  toPosition(offset) {
    if (offset >= this.length) return this.doc.length;
    let low = 0;
    let high = Math.floor(this.doc.length / STRIDE);
    while (low < high) {
      const middle = (low + high + 1) >> 1;
      if (this.marks[middle] <= offset) low = middle;
      else high = middle - 1;
    }
    let position = low * STRIDE;
    let bytes = this.marks[low];
    for (;;) {
      const next = bytes + this.bytesAt(position);
      if (next > offset) return position;
      bytes = next;
      position += 1;
    }
  }

  // The byte offset where the character at `position` begins.
  toOffset(position) {
    const clamped = Math.max(0, Math.min(position, this.doc.length));
    const mark = Math.floor(clamped / STRIDE);
    let bytes = this.marks[mark];
    for (let i = mark * STRIDE; i < clamped; i += 1) bytes += this.bytesAt(i);
    return bytes;
  }

  // The document range of the bytes [from, to).
  range(from, to) {
    const start = this.toPosition(from);
    if (to <= from) return { from: start, to: start };
    const last = this.toPosition(to - 1);
    return { from: start, to: Math.min(this.doc.length, last + (this.bytesAt(last) === 4 ? 2 : 1)) };
  }
}
