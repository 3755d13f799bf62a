// The level editor's figures (bench/README.md, section 7), each a median of five:
//   1. edit.html opened until the bundled level's world and problems show;
//   2. a keystroke in the bundled level until the world and problems show it;
//   3. a keystroke in a generated level of 10,000 records until the problems show it;
//   4. the frames drawn a second while a line's end is dragged in that level;
//   5. the editor's bundle compressed as a web server would send it (gzip -9);
//   6. a 10 MB level (150,000 lines, two findings each) pasted: the longest the page stands
//      still while the reader works and the description arrives, and then for a key typed
//      in it (once, not a median).
// Usage: node bench/editor_bench.mjs   (after tools/build-web.sh; tests/web/node_modules
// holds playwright-core). With QUILLFEN_TIMINGS=1 the page is opened with `?timings` and each
// keystroke's steps (web/editor/timings.js) are printed to standard error, in milliseconds
// from its keydown. QUILLFEN_SITE names another site to measure (main's, for an A/B);
// QUILLFEN_KEYS_ONLY=1 measures only the opening and the keystrokes (figures 1 to 3).
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { launchChromium, serve } from '../tests/web/chromium.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const site = process.env.QUILLFEN_SITE || path.join(root, 'build-web/site');
const timings = process.env.QUILLFEN_TIMINGS === '1';
const keysOnly = process.env.QUILLFEN_KEYS_ONLY === '1';
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Lines spread over the world, with notes between them.
function generatedLevel(records) {
  const lines = [];
  for (let i = 0; i < records; i += 1) {
    if (i % 10 === 0) lines.push(`Note ${i}: ten more lines.`);
    lines.push(`#_CollVec //X ${(i * 37) % 2900} //Y ${40 + (i * 53) % 600} //Dx 40 //Dy 0 //Type 3 //ID ${i}`);
  }
  return lines.join('\n') + '\n';
}

// The time from a key pressed in the text to the editor showing it, in milliseconds, taken in
// the page: the key's text is in the editor a task after its keydown.
async function keystroke(page, key) {
  await page.evaluate(() => {
    window.shownAfter = new Promise(resolve => {
      document.addEventListener('keydown', () => {
        const start = performance.now();
        performance.clearMarks();
        setTimeout(async () => {
          await window.quillfenEditor.settled();
          const steps = performance.getEntriesByType('mark').filter(entry => entry.name.startsWith('quillfen:'))
            .map(entry => `${entry.name.slice(9)} ${(entry.startTime - start).toFixed(1)}`);
          resolve({ shown: performance.now() - start, steps });
        });
      }, { capture: true, once: true });
    });
  });
  await page.keyboard.press(key);
  const { shown, steps } = await page.evaluate(() => window.shownAfter);
  if (timings) console.error(`${key}: ${steps.join(', ')}; shown ${shown.toFixed(1)}`);
  return shown;
}

const server = serve(site);
const browser = await launchChromium();
const url = `http://127.0.0.1:${server.address().port}/edit.html${timings ? '?timings' : ''}`;
const loads = [];
const keys = [];
const bigKeys = [];
let frameRate = 0;
for (let round = 0; round < 5; round += 1) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  const start = Date.now();
  await page.goto(url);
  await page.waitForFunction(() => window.quillfenEditor);
  await page.evaluate(() => window.quillfenEditor.settled());
  loads.push(Date.now() - start);
  await page.click('#source .cm-content');
  keys.push(await keystroke(page, 'x'));
  await page.evaluate(text => window.quillfenEditor.setText(text), generatedLevel(10000));
  await page.evaluate(() => window.quillfenEditor.settled());
  await page.click('#source .cm-content');
  bigKeys.push(await keystroke(page, 'y'));
  if (round === 0 && !keysOnly) {
    // The first line (x 0, y 40 to x 40): selected, then its end dragged for two seconds.
    const at = await page.evaluate(() => window.quillfenEditor.worldToClient(40, 40));
    const middle = await page.evaluate(() => window.quillfenEditor.worldToClient(20, 40));
    await page.mouse.click(middle.x, middle.y);
    await page.evaluate(() => window.quillfenEditor.settled());
    await page.mouse.move(at.x, at.y);
    await page.mouse.down();
    await page.evaluate(() => {
      window.frames = 0;
      const count = () => { window.frames += 1; requestAnimationFrame(count); };
      requestAnimationFrame(count);
    });
    const started = Date.now();
    for (let i = 0; Date.now() - started < 2000; i += 1) await page.mouse.move(at.x + (i % 200), at.y + (i % 50));
    const frames = await page.evaluate(() => window.frames);
    frameRate = frames / ((Date.now() - started) / 1000);
    await page.mouse.up();
  }
  await page.close();
}
// The longest task of the page's thread from now until `run` resolves and the editor settles.
async function longestStill(page, run) {
  await page.evaluate(() => {
    window.longest = 0;
    window.observer = new PerformanceObserver(list => {
      for (const entry of list.getEntries()) window.longest = Math.max(window.longest, entry.duration);
    });
    window.observer.observe({ type: 'longtask' });
  });
  const started = Date.now();
  await run();
  await page.evaluate(() => window.quillfenEditor.settled());
  const seconds = (Date.now() - started) / 1000;
  return { seconds, longest: await page.evaluate(() => { window.observer.disconnect(); return window.longest; }) };
}

let pasted = null;
let typed = null;
if (!keysOnly) {
  const big = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await big.goto(url);
  await big.waitForFunction(() => window.quillfenEditor);
  await big.evaluate(() => window.quillfenEditor.settled());
  const lines = [];
  for (let i = 0; i < 150000; i += 1) lines.push(`#_CollVec //X ${5000 + (i % 1000)} //Y ${i % 600} //Dx 10 //Dy 0 //Type 3 //ID ${i}`);
  pasted = await longestStill(big, () => big.evaluate(text => {
    setTimeout(() => window.quillfenEditor.setText(text)); // the paste itself is CodeMirror's task
  }, lines.join('\n') + '\n'));
  await big.click('#source .cm-content');
  typed = await longestStill(big, () => big.keyboard.press('z'));
}
await browser.close();
server.close();

const bundle = fs.readFileSync(path.join(site, 'editor/editor.js'));
const gzipped = zlib.gzipSync(bundle, { level: 9 }).length;
console.log(`edit.html opened to the bundled level shown: ${median(loads)} ms (target 1500)`);
console.log(`keystroke in the bundled level to world and problems: ${median(keys).toFixed(1)} ms (target 16)`);
console.log(`keystroke in 10,000 records to problems: ${median(bigKeys).toFixed(1)} ms (target 150)`);
if (!keysOnly) console.log(`frames a second while dragging in 10,000 records: ${frameRate.toFixed(1)} (target 50)`);
console.log(`editor bundle: ${(bundle.length / 1024).toFixed(0)} KiB, gzip -9 ${(gzipped / 1024).toFixed(0)} KiB (target 400)`);
if (!keysOnly) console.log(`10 MB level: read in ${pasted.seconds.toFixed(1)} s, the page still for at most ${pasted.longest.toFixed(0)} ms ` +
  `(the paste included); a key in it: ${typed.seconds.toFixed(1)} s, still for at most ${typed.longest.toFixed(0)} ms`);
