// Reads the level a link carries in its fragment (`#level=`, made by the editor's share link):
// its files packed one after another (name length, name, byte count, bytes), compressed with the
// browser's deflate and written as base64url. Every length it is told is checked, and the files
// it gives are only ever data. The game's page imports this alone, not the editor.

export const LEVEL_LINK_PREFIX = '#level=';
const MOST_BYTES = 16 * 1024 * 1024; // what a link may unpack to
const NAME = /^[^/\\\0]{1,255}$/;

// The bytes of a stream, refused past `most`.
export async function streamBytes(stream, most) {
  const reader = stream.getReader();
  const parts = [];
  let length = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    length += value.length;
    if (length > most) {
      await reader.cancel();
      throw new Error('the link unpacks to more than a level can be');
    }
    parts.push(value);
  }
  const bytes = new Uint8Array(length);
  let at = 0;
  for (const part of parts) {
    bytes.set(part, at);
    at += part.length;
  }
  return bytes;
}

function unpack(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const decoder = new TextDecoder('utf-8', { fatal: true });
  const files = [];
  let at = 0;
  while (at < bytes.length) {
    if (at + 2 > bytes.length) throw new Error('the link is cut short');
    const nameEnd = at + 2 + view.getUint16(at);
    if (nameEnd + 4 > bytes.length) throw new Error('the link is cut short');
    const name = decoder.decode(bytes.subarray(at + 2, nameEnd));
    const end = nameEnd + 4 + view.getUint32(nameEnd);
    if (end > bytes.length) throw new Error('the link is cut short');
    if (!NAME.test(name)) throw new Error('the link names a file no level can have');
    files.push({ name, bytes: bytes.slice(nameEnd + 4, end) });
    at = end;
  }
  return files;
}

function fromBase64url(text) {
  const binary = atob(text.replaceAll('-', '+').replaceAll('_', '/'));
  return Uint8Array.from(binary, c => c.charCodeAt(0));
}

// The files a link's fragment carries, or null for a fragment that is no level; throws with
// what is wrong for one that is cut or forged.
export async function filesOfFragment(fragment) {
  if (!fragment.startsWith(LEVEL_LINK_PREFIX)) return null;
  let compressed;
  try {
    compressed = fromBase64url(fragment.slice(LEVEL_LINK_PREFIX.length));
  } catch {
    throw new Error('the link is not one the editor made');
  }
  const stream = new Blob([compressed]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
  let bytes;
  try {
    bytes = await streamBytes(stream, MOST_BYTES);
  } catch (error) {
    throw new Error(error.message.startsWith('the link') ? error.message : 'the link is cut short or damaged');
  }
  return unpack(bytes);
}

// A link's files with the bundled level's pictures it does not replace.
export function overBundled(files, bundled) {
  const kept = bundled.filter(file => file.name !== 'Level.txt' && !files.some(own => own.name === file.name));
  return [...files, ...kept];
}
