// The page in a real browser, Debian's chromium driven by playwright-core: a session played
// with real keys and clicks replays in the native tool with the same log and no desync, and the
// canvas shows the native tool's frame of its last step; a native recording watches in the page
// to its end; a level with a broken bitmap shows the game's failure, as the native tool has it.
//   node --test tests/web/browser_test.mjs   (tools/test-web.sh sets QUILLFEN_SITE,
//   QUILLFEN_NATIVE_REPLAY and QUILLFEN_ASSETS, and runs it under Xvfb for the native frame)
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { useChromium } from './harness.mjs';

const site = process.env.QUILLFEN_SITE;
const nativeReplay = process.env.QUILLFEN_NATIVE_REPLAY;
const assets = process.env.QUILLFEN_ASSETS;
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'quillfen-browser-'));
const harness = useChromium(site, scratch);
const FRAME_RATE_LINE = /^\d+ frames in [\d.e+-]+ seconds = [\d.e+-]+ FPS$/;

function nativeRun(dir, args) {
  const run = spawnSync(nativeReplay, ['--dir', dir, ...args], { encoding: 'latin1' });
  return { status: run.status, log: run.stdout, errors: run.stderr };
}

async function openPage() {
  const page = await harness.browser.newPage({ acceptDownloads: true });
  page.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await page.goto(`http://127.0.0.1:${harness.server.address().port}/`);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  return page;
}

// The page's log as the game wrote it, frame-rate lines aside.
async function logWithoutFrameRates(page) {
  const text = await page.textContent('#log');
  return text.split('\n').filter(line => !FRAME_RATE_LINE.test(line)).join('\n');
}

// How many pixels of two PNG pictures of the same size differ by more than `tolerance` in a
// channel, and by how much at most; the browser decodes them.
function pixelDifference(page, first, second, tolerance) {
  return page.evaluate(async ([a, b, tolerance]) => {
    const pixels = async base64 => {
      const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + base64)).blob());
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      canvas.getContext('2d').drawImage(bitmap, 0, 0);
      return canvas.getContext('2d').getImageData(0, 0, bitmap.width, bitmap.height).data;
    };
    const [p, q] = [await pixels(a), await pixels(b)];
    let over = 0;
    let most = 0;
    for (let i = 0; i < p.length; i += 4) {
      const d = Math.max(...[0, 1, 2].map(c => Math.abs(p[i + c] - q[i + c])));
      most = Math.max(most, d);
      if (d > tolerance) over += 1;
    }
    return { over, most, pixels: p.length / 4, sameSize: p.length === q.length };
  }, [first.toString('base64'), second.toString('base64'), tolerance]);
}

test('a session played in the page replays natively, with its log and its last frame', async t => {
  const page = await openPage();
  const canvas = await page.locator('#canvas').boundingBox();
  await page.keyboard.down('d');
  await page.waitForTimeout(1200);
  await page.keyboard.press(' ');
  await page.waitForTimeout(600);
  await page.keyboard.up('d');
  for (const [x, y] of [[500, 200], [120, 300], [600, 420]]) {
    await page.mouse.click(canvas.x + x, canvas.y + y);
    await page.waitForTimeout(250);
  }
  await page.keyboard.down('a');
  await page.waitForTimeout(700);
  await page.keyboard.up('a');
  // The back-quote key waits on the console: the next key typed is what it reads, not a key
  // the game hears (natively typed in the terminal); then the game walks right.
  await page.keyboard.press('`');
  await page.waitForFunction(() => window.quillfenPage.current.module.consoleWaiting);
  await page.keyboard.press('x');
  await page.waitForTimeout(300);
  await page.click('#stop');
  await page.waitForFunction(() => window.quillfenPage.current.ended);
  const shown = await page.locator('#canvas').screenshot();
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-recording')]);
  const recording = path.join(scratch, 'page-session.txt');
  await download.saveAs(recording);
  const text = fs.readFileSync(recording, 'latin1');
  assert.match(text, / down d\n[^]* down space\n[^]* click left \d+ \d+\n[^]* down backquote\n[^]* quit\n/);
  assert.doesNotMatch(text, / (down|up) 120\n/);

  const frame = path.join(scratch, 'native-frame.png');
  const native = nativeRun(assets, ['--input', recording, '--frame', frame]);
  assert.equal(native.status, 0, native.errors);
  assert.match(native.errors, /stopped after step \d+: the script quit/);
  assert.equal(await logWithoutFrameRates(page), native.log);
  // Here the two frames are the same to the bit; another rasteriser (a GPU's) may round the
  // edges of pictures to the next pixel.
  const difference = await pixelDifference(page, shown, fs.readFileSync(frame), 8);
  t.diagnostic(`canvas against the native frame: ${JSON.stringify(difference)}`);
  assert.ok(difference.sameSize);
  assert.ok(difference.over <= difference.pixels * 0.005, JSON.stringify(difference));
  await page.close();
});

test('a recording of the native game watches in the page to its win, in step', async () => {
  const page = await openPage();
  const recording = path.join(assets, 'replays', 'recorded-win-bundled-level.txt');
  await page.setInputFiles('#watch-recording', recording);
  await page.waitForFunction(() => window.quillfenPage.current?.ended, null, { timeout: 60000 });
  const native = nativeRun(assets, ['--input', recording]);
  assert.equal(await page.textContent('#errors'), native.errors);
  assert.match(native.errors, /the player won/);
  assert.equal(await logWithoutFrameRates(page), native.log);
  await page.close();
});

test('a level with a broken bitmap fails in the page as it does natively', async () => {
  const level = fs.mkdtempSync(path.join(scratch, 'level-'));
  for (const name of fs.readdirSync(assets)) {
    if (name.endsWith('.bmp') || name === 'Level.txt') fs.copyFileSync(path.join(assets, name), path.join(level, name));
  }
  fs.writeFileSync(path.join(level, 'bitmap1.bmp'), 'BM this is no picture');
  const page = await openPage();
  await page.setInputFiles('#level-files', fs.readdirSync(level).map(name => path.join(level, name)));
  await page.waitForFunction(() => window.quillfenPage.current?.ended);
  const native = nativeRun(level, ['--steps', '0']);
  assert.equal(native.status, 1);
  const failure = native.errors.replace(/^quillfen-replay: /, 'quillfen: ');
  assert.match(failure, /bitmap1\.bmp/);
  assert.equal(await page.textContent('#errors'), failure);
  assert.equal(await page.textContent('#log'), native.log);
  await page.close();
});
