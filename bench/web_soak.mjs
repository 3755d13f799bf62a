// Long play in the page (bench/README.md, section 6a): the bundled level in headless chromium
// for 30 minutes with input every second (arrows, clicks, short walks both ways, jumps; never
// the back-quote, which waits on the console). Every minute it samples the WebAssembly memory
// and the JavaScript heap (after a garbage collection, through the DevTools protocol). It checks
// that neither grows by 5 MB or more over the last 20 minutes (of a shorter run: all but its
// first minute), that the game's frame-rate lines hold (those of the last third of the run at
// least 90% of those of the first third, medians compared), and that
// the recording of the session replays natively with the page's log.
// Usage: node bench/web_soak.mjs [--minutes N]   (after tools/test-web.sh built build/ and
// build-web/; tests/web/node_modules holds playwright-core). Exit status 1 when a check fails.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launchChromium, serve } from '../tests/web/chromium.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const minutesArgument = process.argv.indexOf('--minutes');
const minutes = minutesArgument > 0 ? Number(process.argv[minutesArgument + 1]) : 30;
if (!Number.isInteger(minutes) || minutes < 2) {
  console.error('usage: node bench/web_soak.mjs [--minutes N]   (N a whole number, at least 2)');
  process.exit(2);
}
const MB = 1024 * 1024;
const FRAME_RATE = /^(\d+) frames in [\d.e+-]+ seconds = ([\d.e+-]+) FPS$/;

// One input a second, in turn; each leaves no key held. (A middle or right click prints a word
// without a line end, which a frame-rate line would then join.)
const inputs = [
  page => page.keyboard.press('ArrowUp'),
  (page, canvas) => page.mouse.click(canvas.x + 600, canvas.y + 100),
  async page => { await page.keyboard.down('d'); await page.waitForTimeout(300); await page.keyboard.up('d'); },
  (page, canvas) => page.mouse.move(canvas.x + 320, canvas.y + 240).then(() => page.mouse.wheel(0, -100)),
  async page => { await page.keyboard.down('a'); await page.waitForTimeout(300); await page.keyboard.up('a'); },
  page => page.keyboard.press(' '),
];

async function sample(page, cdp, minute) {
  await cdp.send('HeapProfiler.collectGarbage');
  const heap = await cdp.send('Runtime.getHeapUsage');
  const wasm = await page.evaluate(() => window.quillfenPage.current.module.HEAPU8.buffer.byteLength);
  console.log(`minute ${minute}: WebAssembly memory ${(wasm / MB).toFixed(2)} MB, JavaScript heap ${(heap.usedSize / MB).toFixed(2)} MB`);
  return { wasm, js: heap.usedSize };
}

const server = serve(path.join(root, 'build-web/site'));
const browser = await launchChromium();
const page = await browser.newPage({ acceptDownloads: true });
const cdp = await page.context().newCDPSession(page);
await page.goto(`http://127.0.0.1:${server.address().port}/`);
await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
const canvas = await page.locator('#canvas').boundingBox();
const samples = [await sample(page, cdp, 0)];
const started = Date.now();
for (let second = 1; second <= minutes * 60; second += 1) {
  await inputs[second % inputs.length](page, canvas);
  await page.waitForTimeout(Math.max(0, started + second * 1000 - Date.now()));
  if (second % 60 === 0) samples.push(await sample(page, cdp, second / 60));
}
const ended = await page.evaluate(() => window.quillfenPage.current.ended);
await page.click('#stop');
await page.waitForFunction(() => window.quillfenPage.current.ended);
const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-recording')]);
const recording = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'quillfen-soak-')), 'soak.txt');
await download.saveAs(recording);
const lines = (await page.textContent('#log')).split('\n');
await browser.close();
server.close();

const failures = [];
if (ended) failures.push('the game ended before the soak did (a death or a win)');
const watched = samples.slice(-Math.min(21, samples.length - 1));
for (const what of ['wasm', 'js']) {
  const growth = Math.max(...watched.map(s => s[what])) - watched[0][what];
  console.log(`${what} growth over the last ${watched.length - 1} minutes: ${(growth / MB).toFixed(2)} MB (at most 5)`);
  if (growth >= 5 * MB) failures.push(`the ${what} heap grew by ${(growth / MB).toFixed(2)} MB`);
}
// The first line includes the loading.
const rates = lines.map(line => FRAME_RATE.exec(line)).filter(Boolean).slice(1).map(m => Number(m[2]));
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const third = Math.floor(rates.length / 3);
const [early, late] = [median(rates.slice(0, third)), median(rates.slice(-third))];
console.log(`frame-rate lines: ${rates.length}, lowest ${Math.min(...rates)}, highest ${Math.max(...rates)}; median of the first third ${early}, of the last ${late} FPS`);
if (!(late >= 0.9 * early)) failures.push(`the frame rate fell from ${early} to ${late} FPS`);

const native = spawnSync(path.join(root, 'build/tools/replay/quillfen-replay'),
  ['--dir', path.join(root, 'assets'), '--input', recording], { encoding: 'latin1' });
const pageLog = lines.filter(line => !FRAME_RATE.test(line)).join('\n');
const events = fs.readFileSync(recording, 'latin1').split('\n').filter(l => / (down|up|click) /.test(l)).length;
console.log(`recording: ${events} input events; native replay: exit ${native.status}, ${native.stderr.trim().split('\n').at(-1)}`);
if (native.status !== 0 || native.stdout !== pageLog) {
  const logLines = native.stdout.split('\n');
  const first = pageLog.split('\n').findIndex((line, i) => line !== logLines[i]);
  failures.push(`the recording does not replay natively with the page's log (line ${first + 1} differs)`);
}
for (const failure of failures) console.log('FAILED: ' + failure);
process.exit(failures.length === 0 ? 0 : 1);
