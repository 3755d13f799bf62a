// Makes the README's picture of the level editor (docs/level-editor.png): edit.html in Debian's
// chromium on the bundled level, with a slip typed into one record, that record selected and
// its problem shown in the list, in the text and on its shape in the world. The picture is
// written again with a palette of 256 colours (a third of the browser's own PNG, and no
// difference to the eye). Needs the site (tools/build-web.sh) and the browser tests' packages
// (cd tests/web && npm ci):
//   node tools/editor-screenshot.mjs [out.png]
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { launchChromium, serve } from '../tests/web/chromium.mjs';

const root = path.join(path.dirname(new URL(import.meta.url).pathname), '..');
const out = process.argv[2] || path.join(root, 'docs/level-editor.png');
const SLIP = ['//DY -178 //TYPE 1', '//DY -178 //TYPE 256'];

async function screenshot() {
  const server = serve(path.join(root, 'build-web/site'));
  const browser = await launchChromium();
  try {
    const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
    await page.goto(`http://127.0.0.1:${server.address().port}/edit.html`);
    await page.waitForFunction(() => window.quillfenEditor);
    await page.evaluate(() => window.quillfenEditor.settled());
    const level = await page.evaluate(() => window.quillfenEditor.text());
    if (!level.includes(SLIP[0])) throw new Error(`the bundled level has no '${SLIP[0]}' any more`);
    await page.evaluate(text => window.quillfenEditor.setText(text), level.replace(...SLIP));
    await page.evaluate(() => window.quillfenEditor.settled());
    // Closer to the selected ramp, zoomed around it as the wheel zooms.
    const ramp = await page.evaluate(() => window.quillfenEditor.worldToClient(1700, 170));
    await page.mouse.move(ramp.x, ramp.y);
    await page.mouse.wheel(0, -400);
    await page.click('#problems li');
    await page.evaluate(() => window.quillfenEditor.settled());
    await page.waitForTimeout(300); // the world's pictures and the selection drawn
    return await page.screenshot();
  } finally {
    await browser.close();
    server.close();
  }
}

// The rows of an 8-bit RGB or RGBA PNG, as RGB.
function pixels(png) {
  let at = 8;
  let header = null;
  const data = [];
  while (at < png.length) {
    const length = png.readUInt32BE(at);
    const kind = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + length);
    if (kind === 'IHDR') header = { width: body.readUInt32BE(0), height: body.readUInt32BE(4), depth: body[8], colour: body[9], interlace: body[12] };
    if (kind === 'IDAT') data.push(body);
    at += 12 + length;
  }
  if (header.depth !== 8 || ![2, 6].includes(header.colour) || header.interlace) throw new Error('not an 8-bit RGB(A) PNG');
  const channels = header.colour === 6 ? 4 : 3;
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = header.width * channels;
  const rows = [];
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < header.height; y += 1) {
    const row = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    unfilter(raw[y * (stride + 1)], row, previous, channels);
    const rgb = Buffer.alloc(header.width * 3);
    for (let x = 0; x < header.width; x += 1) row.copy(rgb, x * 3, x * channels, x * channels + 3);
    rows.push(rgb);
    previous = row;
  }
  return { width: header.width, height: header.height, rows };
}

function paeth(a, b, c) {
  const p = a + b - c;
  const [pa, pb, pc] = [Math.abs(p - a), Math.abs(p - b), Math.abs(p - c)];
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The predictor of each filter type, from the left, upper and upper-left bytes.
const PREDICT = [() => 0, a => a, (a, b) => b, (a, b) => (a + b) >> 1, paeth];

function unfilter(type, row, previous, bpp) {
  for (let i = 0; i < row.length; i += 1) {
    const left = i >= bpp ? row[i - bpp] : 0;
    const upLeft = i >= bpp ? previous[i - bpp] : 0;
    row[i] = (row[i] + PREDICT[type](left, previous[i], upLeft)) & 255;
  }
}

// A palette of at most 256 colours for the picture (median cut over its colours, weighted by
// how many pixels have each), and each colour's index in it.
function palette(rows) {
  const counts = new Map();
  for (const row of rows) {
    for (let i = 0; i < row.length; i += 3) {
      const colour = (row[i] << 16) | (row[i + 1] << 8) | row[i + 2];
      counts.set(colour, (counts.get(colour) || 0) + 1);
    }
  }
  const channel = (colour, c) => (colour >> (16 - 8 * c)) & 255;
  const spread = box => {
    let best = { c: 0, range: -1 };
    for (let c = 0; c < 3; c += 1) {
      const values = box.map(colour => channel(colour, c));
      const range = Math.max(...values) - Math.min(...values);
      if (range > best.range) best = { c, range };
    }
    return best;
  };
  const boxes = [[...counts.keys()]];
  while (boxes.length < 256) {
    // The box to split: the widest, weighted by its pixels.
    let pick = -1;
    let score = 0;
    boxes.forEach((box, i) => {
      const pixelsIn = box.reduce((sum, colour) => sum + counts.get(colour), 0);
      const value = box.length > 1 ? spread(box).range * Math.sqrt(pixelsIn) : 0;
      if (value > score) [pick, score] = [i, value];
    });
    if (pick < 0) break;
    const box = boxes[pick];
    const { c } = spread(box);
    box.sort((x, y) => channel(x, c) - channel(y, c));
    const half = box.reduce((sum, colour) => sum + counts.get(colour), 0) / 2;
    let cut = 0;
    for (let seen = 0; cut < box.length - 1 && seen + counts.get(box[cut]) <= half; cut += 1) seen += counts.get(box[cut]);
    cut = Math.max(1, cut);
    boxes.splice(pick, 1, box.slice(0, cut), box.slice(cut));
  }
  const index = new Map();
  const colours = Buffer.alloc(boxes.length * 3);
  boxes.forEach((box, i) => {
    const total = box.reduce((sum, colour) => sum + counts.get(colour), 0);
    for (let c = 0; c < 3; c += 1) {
      colours[i * 3 + c] = Math.round(box.reduce((sum, colour) => sum + channel(colour, c) * counts.get(colour), 0) / total);
    }
    for (const colour of box) index.set(colour, i);
  });
  return { colours, index };
}

function chunk(kind, body) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(body.length, 0);
  head.write(kind, 4, 'latin1');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(zlib.crc32(Buffer.concat([head.subarray(4), body])), 0);
  return Buffer.concat([head, body, crc]);
}

// The picture with its palette, each row unfiltered (the best for a palette), deflated hard.
function compressedPng({ width, height, rows }) {
  const { colours, index } = palette(rows);
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 3, 0, 0, 0], 8);
  const lines = rows.map(row => {
    const line = Buffer.alloc(width + 1);
    for (let x = 0; x < width; x += 1) line[x + 1] = index.get((row[x * 3] << 16) | (row[x * 3 + 1] << 8) | row[x * 3 + 2]);
    return line;
  });
  const data = zlib.deflateSync(Buffer.concat(lines), { level: 9, memLevel: 9 });
  return Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n', 'latin1'), chunk('IHDR', header), chunk('PLTE', colours),
    chunk('IDAT', data), chunk('IEND', Buffer.alloc(0))]);
}

const shot = await screenshot();
const png = compressedPng(pixels(shot));
fs.writeFileSync(out, png);
console.error(`${out}: ${png.length} bytes (the browser's own: ${shot.length})`);
