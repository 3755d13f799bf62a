// The browser build's figures (bench/README.md, section 6), each a median of five:
//   1. the replay tool's time per step over the bundled level, under node and native;
//   2. the page in headless chromium: its first frame after being opened, and its step rate
//      (the game's own frame-rate lines over 16 s);
//   3. the site folder's size, each file compressed as a web server would send it (gzip -9).
// Usage: node bench/web_bench.mjs   (after ./check or tools/test-web.sh built build/ and
// build-web/; tests/web/node_modules holds playwright-core)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { launchChromium, serve } from '../tests/web/chromium.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const site = path.join(root, 'build-web/site');
const assets = path.join(root, 'assets');
const script = path.join(assets, 'replays/recorded-win-bundled-level.txt');
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function seconds(command, args) {
  const start = process.hrtime.bigint();
  execFileSync(command, args, { stdio: 'ignore' });
  return Number(process.hrtime.bigint() - start) / 1e9;
}

// Start-up aside: the time of N steps less the time of none, per step. The bundled level left
// alone runs for ever (the enemies wait at the walls); over 100,000 steps node's compiler has
// long finished, over the 1,180 of the recorded win much of it runs in the first tier.
function perStep(command, prefix, steps, input) {
  const run = n => seconds(command, [...prefix, '--dir', assets, ...input, '--steps', String(n)]);
  const times = [];
  for (let round = 0; round < 5; round += 1) times.push((run(steps) - run(0)) / steps);
  return median(times);
}

const tools = [[path.join(root, 'build/tools/replay/quillfen-replay'), []],
  ['node', [path.join(root, 'build-web/quillfen-replay.js')]]];
for (const [steps, input, what] of [[100000, [], '100,000 steps of the bundled level'],
  [1180, ['--input', script], 'the recorded win, 1,180 steps']]) {
  const [native, node] = tools.map(([command, prefix]) => perStep(command, prefix, steps, input));
  console.log(`replay per step, ${what}: native ${(native * 1e6).toFixed(2)} us, node ${(node * 1e6).toFixed(2)} us, ratio ${(node / native).toFixed(2)} (target at most 1.5)`);
}

const server = serve(site);
const browser = await launchChromium();
const firstFrames = [];
const rates = [];
for (let round = 0; round < 5; round += 1) {
  const page = await browser.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  firstFrames.push(await page.evaluate(() => window.quillfenPage.current.module.firstFrameAt));
  if (round === 0) {
    await page.waitForTimeout(16000);
    const log = await page.textContent('#log');
    for (const match of log.matchAll(/= ([\d.]+) FPS/g)) rates.push(Number(match[1]));
  }
  await page.close();
}
await browser.close();
server.close();
console.log(`page first frame: median ${median(firstFrames).toFixed(0)} ms of ${firstFrames.map(Math.round).join(', ')} (target under 2000)`);
console.log(`page step rate: ${rates.join(', ')} steps a second (target at least 55; the first line includes the loading)`);

let compressed = 0;
const walk = folder => fs.readdirSync(folder, { withFileTypes: true }).forEach(entry => {
  const file = path.join(folder, entry.name);
  if (entry.isDirectory()) walk(file);
  else compressed += zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;
});
walk(site);
console.log(`site compressed: ${(compressed / 1024).toFixed(0)} KiB (target under 1024)`);
