// A level in a link, with nothing stored on a server: its files packed one after another
// (name length, name, byte count, bytes), compressed with the browser's deflate and written
// into the link's fragment as base64url. Reading one checks every length it is told, and the
// files it gives are only ever data.

const PREFIX = '#level=';
export const LINK_LIMIT = 64 * 1024;
const MOST_BYTES = 16 * 1024 * 1024; // what a link may unpack to
const NAME = /^[^/\\\0]{1,255}$/;

async function streamBytes(stream, most) {
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

function pack(files) {
  const encoder = new TextEncoder();
  const parts = files.flatMap(file => {
    const name = encoder.encode(file.name);
    const head = new DataView(new ArrayBuffer(6));
    head.setUint16(0, name.length);
    head.setUint32(2, file.bytes.length);
    return [new Uint8Array(head.buffer, 0, 2), name, new Uint8Array(head.buffer, 2, 4), file.bytes];
  });
  return new Blob(parts);
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

function base64url(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  return btoa(text).replaceAll('+', '-').replaceAll('/', '_').replace(/=+$/, '');
}

function fromBase64url(text) {
  const binary = atob(text.replaceAll('-', '+').replaceAll('_', '/'));
  return Uint8Array.from(binary, c => c.charCodeAt(0));
}

async function linkOf(base, files) {
  const packed = pack(files).stream().pipeThrough(new CompressionStream('deflate-raw'));
  return base + PREFIX + base64url(await streamBytes(packed, Infinity));
}

// A link to `base` (the page's address without its fragment) that opens Level.txt and the
// pictures given; the pictures go along while the link stays under the limit. Returns
// {link, leftOut: [names of pictures left out]}.
export async function shareLink(base, level, pictures) {
  const withPictures = await linkOf(base, [level, ...pictures]);
  if (withPictures.length <= LINK_LIMIT || pictures.length === 0) return { link: withPictures, leftOut: [] };
  return { link: await linkOf(base, [level]), leftOut: pictures.map(picture => picture.name) };
}

// The files a link's fragment carries, or null for a fragment that is no level; throws with
// what is wrong for one that is cut or forged.
export async function filesOfFragment(fragment) {
  if (!fragment.startsWith(PREFIX)) return null;
  let compressed;
  try {
    compressed = fromBase64url(fragment.slice(PREFIX.length));
  } catch {
    throw new Error('the link is not one this editor made');
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
