// The page in Debian's firefox-esr, driven by puppeteer-core over WebDriver BiDi in a window on
// Xvfb (WebGL by Mesa): a session played with real keys and clicks replays in the native tool
// with the same log, its keys as SDL 1.2 numbers and its clicks at the game pixels; after one
// visit the page plays with no server and still lists the session; a Firefox without WebGL
// shows the page's words.
//   node --test tests/web/firefox_test.mjs   (tools/test-web.sh sets QUILLFEN_SITE,
//   QUILLFEN_NATIVE_REPLAY and QUILLFEN_ASSETS, and runs it under Xvfb)
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { setTimeout as sleep } from 'node:timers/promises';
import { launchFirefox } from './firefox.mjs';
import { logWithoutFrameRates, nativeRun, useBrowser } from './harness.mjs';

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'quillfen-firefox-'));
const harness = useBrowser(process.env.QUILLFEN_SITE, scratch, launchFirefox);

// The file the page saves into `folder`, once the browser has written all of it.
async function downloaded(folder) {
  for (let tries = 0; tries < 100; tries += 1) {
    const names = fs.readdirSync(folder).map(name => path.join(folder, name));
    if (names.length === 1 && !names[0].endsWith('.part') && fs.statSync(names[0]).size > 0) return names[0];
    await sleep(100);
  }
  return assert.fail(`nothing saved in ${folder}: ${fs.readdirSync(folder)}`);
}

test('a Firefox without WebGL shows the page\'s words, not a blank canvas', async () => {
  const headless = await launchFirefox({ headless: true, prefs: { 'webgl.disabled': true } });
  try {
    const page = await headless.newPage();
    const thrown = [];
    page.on('pageerror', error => thrown.push(error.message));
    await page.goto(`http://127.0.0.1:${harness.server.address().port}/`);
    await page.waitForSelector('#no-webgl', { visible: true });
    assert.equal(await page.$eval('#canvas', canvas => canvas.hidden), true);
    assert.deepEqual(thrown, []);
  } finally {
    await headless.close();
  }
});

test('a session played in Firefox replays natively with the page\'s log', { timeout: 120000 }, async t => {
  const saved = fs.mkdtempSync(path.join(scratch, 'saved-'));
  const context = await harness.browser.createBrowserContext({ downloadBehavior: { policy: 'allow', downloadPath: saved } });
  const page = await context.newPage();
  const thrown = [];
  page.on('pageerror', error => thrown.push(error.message));
  await page.setViewport({ width: 1920, height: 1080 });
  await page.goto(`http://127.0.0.1:${harness.server.address().port}/`);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  const canvas = await (await page.$('#canvas')).boundingBox();
  assert.deepEqual([canvas.width, canvas.height], [1280, 960]);
  await page.click('#click-to-play');
  await page.keyboard.down('d');
  await sleep(1000);
  await page.keyboard.press(' ');
  await sleep(500);
  await page.keyboard.up('d');
  const shots = [[1001, 401], [241, 601], [1279, 959], [0, 1]];
  for (const [x, y] of shots) {
    await page.mouse.click(canvas.x + x, canvas.y + y);
    await sleep(200);
  }
  // Keys Firefox numbers unlike chromium ('-' is 173), or takes for its own (' and / find in the
  // page) unless the page keeps them.
  for (const key of '-=;\'/a') await page.keyboard.press(key);
  // Played past the first frame-rate line (every 5 s).
  await page.waitForFunction(() => / FPS\n/.test(document.querySelector('#log').textContent), { timeout: 30000 });
  await page.click('#stop');
  await page.waitForFunction(() => window.quillfenPage.current.ended);
  await page.click('#save-recording');
  const recording = await downloaded(saved);
  const played = await logWithoutFrameRates(page);
  const text = fs.readFileSync(recording, 'latin1');
  const events = text.split('\n')
    .filter(line => / (down|up|click) /.test(line)).map(line => line.replace(/^\d+ /, ''));
  assert.deepEqual(events, ['down d', 'down space', 'up space', 'up d',
    ...shots.map(([x, y]) => `click left ${x >> 1} ${y >> 1}`),
    ...[45, 61, 59, 39, 47, 'a'].flatMap(key => [`down ${key}`, `up ${key}`])]);
  const native = nativeRun(process.env.QUILLFEN_ASSETS, ['--input', recording]);
  assert.equal(native.status, 0, native.errors);
  assert.equal(played, native.log);
  // The steps come no closer than 16 ms apart, and Firefox does not hold the game back.
  const rates = (await page.$eval('#log', log => log.textContent)).split('\n').filter(line => / FPS$/.test(line));
  assert.notEqual(rates.length, 0);
  t.diagnostic(rates.join('; '));
  for (const line of rates) {
    const [, frames, seconds, rate] = /^(\d+) frames in ([\d.]+) seconds = ([\d.]+) FPS$/.exec(line) ?? [];
    assert.ok(seconds >= 5 && Math.abs(frames / seconds - rate) < 0.01 && rate >= 10 && rate <= 62.5, line);
  }

  // The site is kept by the service worker, and the session in IndexedDB.
  await page.evaluate(() => navigator.serviceWorker.ready);
  harness.server.close();
  harness.server.closeAllConnections();
  await page.reload();
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 60);
  await page.waitForFunction(() => document.querySelector('#kept-recordings li'));
  const [, end] = /^# end: (.*)$/m.exec(text);
  const kept = await page.$eval('#kept-recordings li', entry => entry.textContent);
  assert.ok(kept.startsWith('the bundled level, ') && kept.includes(` steps, ${end} `), kept);
  assert.deepEqual(thrown, []);
  await context.close();
});
