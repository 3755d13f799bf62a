// A link to a level, with nothing stored on a server: its files packed one after another
// (name length, name, byte count, bytes), compressed with the browser's deflate and written
// into the link's fragment as base64url; the game's page and the editor read it back with
// ../page/level-link.js.
import { LEVEL_LINK_PREFIX, streamBytes } from '../page/level-link.js';

export const LINK_LIMIT = 64 * 1024;

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

function base64url(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  return btoa(text).replaceAll('+', '-').replaceAll('/', '_').replace(/=+$/, '');
}

async function linkOf(base, files) {
  const packed = pack(files).stream().pipeThrough(new CompressionStream('deflate-raw'));
  return base + LEVEL_LINK_PREFIX + base64url(await streamBytes(packed, Infinity));
}

// A link to `base` (the page's address without its fragment) that opens Level.txt and the
// pictures given; the pictures go along while the link stays under the limit. Returns
// {link, leftOut: [names of pictures left out]}.
export async function shareLink(base, level, pictures) {
  const withPictures = await linkOf(base, [level, ...pictures]);
  if (withPictures.length <= LINK_LIMIT || pictures.length === 0) return { link: withPictures, leftOut: [] };
  return { link: await linkOf(base, [level]), leftOut: pictures.map(picture => picture.name) };
}
