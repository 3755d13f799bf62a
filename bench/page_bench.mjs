// The page's figures for players (bench/README.md, section 6b), in headless chromium at a
// 1920x1080 window, each a median of five:
//   1. a first visit (a fresh browser profile): from the navigation to the game's first buffer
//      swap, with when each file the page fetched arrived;
//   2. a second visit of the same profile, the site kept by the page's service worker (no file
//      reaches the server), the worker stopped in between as the browser stops an idle one: the
//      same span;
//   3. the game's frame-rate lines in full screen (the page's `fullscreen` control; the canvas
//      at 1280x960): the five after the first, which holds the loading;
//   4. the files a first visit requests (the page's network events), each compressed with
//      gzip -9 as a web server would send it, and apart from them what the service worker keeps.
// Usage: node bench/page_bench.mjs [--visits N] [--site FOLDER] [--visits-only]   (after tools/build-web.sh, and
// npm ci in tests/web for playwright-core; the site is build-web/site unless given)
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { launchChromium, serve } from '../tests/web/chromium.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const option = (name, fallback) => (process.argv.includes(name) ? process.argv[process.argv.indexOf(name) + 1] : fallback);
const site = path.resolve(option('--site', path.join(root, 'build-web/site')));
const VIEWPORT = { width: 1920, height: 1080 };
const visits = Number(option('--visits', 5));
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const gzipped = name => zlib.gzipSync(fs.readFileSync(path.join(site, name)), { level: 9 }).length;
const kib = bytes => (bytes / 1024).toFixed(1);

const server = serve(site);
await new Promise(resolve => server.once('listening', resolve));
const origin = `http://127.0.0.1:${server.address().port}/`;
let served = []; // the paths that reached the server since the last visit began
server.on('request', request => served.push(request.url));
const browser = await launchChromium();

// Where a visit's time goes (ms from the navigation): the page's script starting (its WebGL
// check), the game's WebAssembly compiled and instantiated, the game's window (its GL context).
function markSteps() {
  const marks = window.quillfenMarks = {};
  const mark = name => { marks[name] ??= Math.round(performance.now()); };
  const after = (object, key, name) => {
    const original = object[key];
    object[key] = function (...args) {
      const result = original.apply(this, args);
      if (result instanceof Promise) result.then(() => mark(name));
      else mark(name);
      return result;
    };
  };
  after(WebAssembly, 'compileStreaming', 'compiled');
  after(WebAssembly, 'instantiate', 'instantiated');
  after(HTMLCanvasElement.prototype, 'getContext', 'script');
  document.addEventListener('DOMContentLoaded', () => {
    const game = document.getElementById('game');
    new MutationObserver(() => after(document.getElementById('canvas'), 'getContext', 'window'))
      .observe(game, { childList: true });
  });
}

// One visit of the page in the context: the first frame, the files the page asked for, and
// when each arrived (ms from the navigation).
async function visit(context) {
  served = [];
  const page = await context.newPage();
  const requested = [];
  page.on('request', request => requested.push(new URL(request.url()).pathname.slice(1) || 'index.html'));
  await page.goto(origin);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  const shown = await page.evaluate(() => ({
    firstFrame: window.quillfenPage.current.module.firstFrameAt,
    marks: window.quillfenMarks,
    kept: navigator.serviceWorker.controller !== null,
    arrivals: performance.getEntriesByType('resource').map(entry =>
      [entry.name.split('/').pop(), Math.round(entry.startTime), Math.round(entry.responseEnd)]),
  }));
  return { page, requested, fromServer: [...served], ...shown };
}

const keptSite = () => navigator.serviceWorker.ready.then(async () => {
  const cache = await caches.open((await caches.keys()).find(name => name.startsWith('quillfen-')));
  // The site's own address is kept too, as a second copy of index.html.
  return (await cache.keys()).map(request => new URL(request.url).pathname.slice(1)).filter(name => name !== '');
});

const first = [];
const second = [];
for (let round = 0; round < visits; round += 1) {
  const context = await browser.newContext({ viewport: VIEWPORT });
  await context.addInitScript(markSteps);
  first.push(await visit(context));
  first.at(-1).keptFiles = await first.at(-1).page.evaluate(keptSite);
  // The player comes back later: the browser has stopped the service worker meanwhile.
  const devtools = await context.newCDPSession(first.at(-1).page);
  await devtools.send('ServiceWorker.enable');
  await devtools.send('ServiceWorker.stopAllWorkers');
  await first.at(-1).page.close();
  second.push(await visit(context));
  await second.at(-1).page.close();
  await context.close();
}

const times = list => list.map(v => Math.round(v.firstFrame));
console.log(`first visit, first frame: median ${median(times(first))} ms of ${times(first).join(', ')} (target under 1500)`);
console.log(`second visit, first frame: median ${median(times(second))} ms of ${times(second).join(', ')} (target under 500)`);
console.log(`second visit: controlled by the service worker in ${second.filter(v => v.kept).length} of ${visits}; files that reached the server: ${[...new Set(second.flatMap(v => v.fromServer))].join(' ') || 'none'}`);
for (const [name, list] of [['first', first], ['second', second]]) {
  const typical = list.find(v => Math.round(v.firstFrame) === median(times(list)));
  console.log(`${name} visit of median first frame: ${JSON.stringify(typical.marks)}, each file fetched [start, end] ms:`);
  console.log('  ' + typical.arrivals.map(([file, start, end]) => `${file} ${start}-${end}`).join(', '));
}

const requested = [...new Set(first[0].requested)].filter(name => fs.existsSync(path.join(site, name)));
const sizeOf = names => names.reduce((sum, name) => sum + gzipped(name), 0);
console.log(`first visit requests ${requested.length} files, ${kib(sizeOf(requested))} KiB compressed (target under 600 KB):`);
console.log('  ' + requested.map(name => `${name} ${kib(gzipped(name))}`).join(', '));
console.log(`the editor's bundle (editor/editor.js) requested: ${requested.includes('editor/editor.js') ? 'yes' : 'no'}`);
const kept = first[0].keptFiles;
console.log(`the service worker keeps ${kept.length} files, ${kib(sizeOf(kept))} KiB compressed (fetched after the first visit's page)`);

// The frame-rate lines in full screen.
async function fullScreenRates() {
  const page = await browser.newPage({ viewport: VIEWPORT });
  await page.goto(origin);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  await page.click('#fullscreen');
  await page.waitForFunction(() => document.fullscreenElement?.id === 'game');
  const canvas = await page.locator('#canvas').boundingBox();
  await page.waitForFunction(() => (document.getElementById('log').textContent.match(/ FPS/g) || []).length >= 6,
    null, { timeout: 60000 });
  const rates = [...(await page.textContent('#log')).matchAll(/= ([\d.]+) FPS/g)].map(match => Number(match[1]));
  console.log(`full screen, canvas ${canvas.width}x${canvas.height}: frame-rate lines ${rates.join(', ')}; median of the five after the first ${median(rates.slice(1, 6))} (target at least 55)`);
}

if (!process.argv.includes('--visits-only')) await fullScreenRates(); // --visits-only: to compare two sites
await browser.close();
server.close();
