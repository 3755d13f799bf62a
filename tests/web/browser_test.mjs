// The page in a real browser, Debian's chromium driven by playwright-core: a session played
// with real keys and clicks replays in the native tool with the same log and no desync, and the
// canvas shows the native tool's frame of its last step; a native recording watches in the page
// to its end; a level with a broken bitmap shows the game's failure, as the native tool has it.
//   node --test tests/web/browser_test.mjs   (tools/test-web.sh sets QUILLFEN_SITE,
//   QUILLFEN_NATIVE_REPLAY and QUILLFEN_ASSETS, and runs it under Xvfb for the native frame)
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { createRequire } from 'node:module';
import util from 'node:util';
import { launchChromium, serve } from './chromium.mjs';
import { logWithoutFrameRates, nativeRun, useBrowser } from './harness.mjs';
import { bitmapHeader, pixelDifference } from './pictures.mjs';

const site = process.env.QUILLFEN_SITE;
const assets = process.env.QUILLFEN_ASSETS;
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'quillfen-browser-'));
const harness = useBrowser(site, scratch);

async function openPage(options = {}) {
  const page = await harness.browser.newPage({ acceptDownloads: true, ...options });
  page.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await page.goto(`http://127.0.0.1:${harness.server.address().port}/`);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  return page;
}

// Drops files onto the page as a drag from the desktop would.
async function dropFiles(page, files) {
  const contents = files.map(file => ({ name: path.basename(file), base64: fs.readFileSync(file).toString('base64') }));
  const transfer = await page.evaluateHandle(contents => {
    const transfer = new DataTransfer();
    for (const { name, base64 } of contents) {
      transfer.items.add(new File([Uint8Array.from(atob(base64), c => c.charCodeAt(0))], name));
    }
    return transfer;
  }, contents);
  await page.dispatchEvent('body', 'drop', { dataTransfer: transfer });
}

test('a session played in the page replays natively, with its log and its last frame', async t => {
  // At 1920x1080 the canvas shows at twice the game's size, with crisp pixels; the first click,
  // on the overlay, gives the canvas the keyboard and fires no shot.
  const page = await openPage({ viewport: { width: 1920, height: 1080 } });
  const canvas = await page.locator('#canvas').boundingBox();
  assert.deepEqual([canvas.width, canvas.height], [1280, 960]);
  assert.equal(await page.$eval('#canvas', c => getComputedStyle(c).imageRendering), 'pixelated');
  await page.click('#click-to-play');
  assert.equal(await page.isVisible('#click-to-play'), false);
  await page.keyboard.down('d');
  await page.waitForTimeout(1200);
  await page.keyboard.press(' ');
  await page.waitForTimeout(600);
  await page.keyboard.up('d');
  const shots = [[1001, 401], [241, 601], [1279, 959], [0, 1]];
  for (const [x, y] of shots) {
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
  const clicks = [...text.matchAll(/ click left (\d+) (\d+)\n/g)].map(m => [Number(m[1]), Number(m[2])]);
  assert.deepEqual(clicks, shots.map(([x, y]) => [x >> 1, y >> 1]));
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
  assert.deepEqual(difference.shown, [1280, 960]);
  assert.ok(difference.over <= difference.pixels * 0.005, JSON.stringify(difference));
  await page.close();
});

test('the full-screen control, clicked or pressed, fits the canvas to the screen and clicks still land on their game pixel', async () => {
  // At 1300x980 the page shows the canvas at 640x480; the game alone fits twice that.
  const page = await openPage({ viewport: { width: 1300, height: 980 } });
  const shown = async () => {
    const { x, y, width, height } = await page.locator('#canvas').boundingBox();
    const whole = await page.evaluate(() => document.fullscreenElement?.id ?? null);
    return { whole, box: [x, y, width, height], button: await page.textContent('#fullscreen') };
  };
  const fullScreen = { whole: 'game', box: [10, 10, 1280, 960], button: 'Leave full screen' };
  const onPage = { whole: null, box: [16, 16, 640, 480], button: 'Full screen' };
  // The browser may resize the window a moment after it says full screen began or ended.
  const settles = async expected => {
    let now = await shown();
    for (let tries = 0; tries < 50 && !util.isDeepStrictEqual(now, expected); tries++) {
      await page.waitForTimeout(100);
      now = await shown();
    }
    assert.deepEqual(now, expected);
  };
  assert.deepEqual(await shown(), onPage);
  await page.click('#fullscreen');
  await page.waitForFunction(() => document.activeElement?.id === 'canvas');
  await settles(fullScreen);
  await page.mouse.click(10 + 601, 10 + 301);
  // The browser leaves it on Escape (headless chromium has no such key of its own): the rest of
  // the page, the button too, is out of reach in full screen.
  const leave = () => page.evaluate(() => document.exitFullscreen());
  await leave();
  await settles(onPage);
  await page.focus('#fullscreen');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.activeElement?.id === 'canvas');
  await settles(fullScreen);
  await leave();
  await page.click('#stop');
  await page.waitForFunction(() => window.quillfenPage.current.ended);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-recording')]);
  const recording = path.join(scratch, 'full-screen.txt');
  await download.saveAs(recording);
  assert.deepEqual(fs.readFileSync(recording, 'latin1').match(/ click .*/g), [' click left 300 150']);
  await page.close();
});

// Every key of a full keyboard by Playwright's name, with the number SDL 1.2 gives it, as the
// native game records it (named when the game listens to it). Back-quote waits on the console;
// Tab comes last, since it moves the focus to a button that Enter would press.
const NAMED = { 32: 'space', 97: 'a', 100: 'd', 273: 'up', 274: 'down', 275: 'right', 276: 'left' };
const FULL_KEYBOARD = [
  ...[...'abcdefghijklmnopqrstuvwxyz0123456789-=[]\\;\',./'].map(c => [c, c.charCodeAt(0)]),
  ...Array.from({ length: 12 }, (_, i) => [`F${i + 1}`, 282 + i]),
  ...Array.from({ length: 10 }, (_, i) => [`Numpad${i}`, 256 + i]),
  ['NumpadDecimal', 266], ['NumpadDivide', 267], ['NumpadMultiply', 268], ['NumpadSubtract', 269],
  ['NumpadAdd', 270], ['NumpadEnter', 271], ['ArrowUp', 273], ['ArrowDown', 274],
  ['ArrowRight', 275], ['ArrowLeft', 276], ['Insert', 277], ['Home', 278], ['End', 279],
  ['PageUp', 280], ['PageDown', 281], ['NumLock', 300], ['CapsLock', 301], ['ScrollLock', 302],
  ['ShiftRight', 303], ['Shift', 304], ['ControlRight', 305], ['Control', 306], ['AltRight', 307],
  ['Alt', 308], ['MetaRight', 309], ['Meta', 310], ['ContextMenu', 319], ['PrintScreen', 316],
  ['Pause', 19], ['Space', 32], ['Enter', 13], ['Escape', 27], ['Backspace', 8], ['Delete', 127],
  ['AudioVolumeUp', null], ['Tab', 9],
];

test('every key of a full keyboard is recorded as SDL 1.2 numbers and replays natively', async () => {
  const page = await openPage();
  await page.click('#click-to-play');
  for (const [key] of FULL_KEYBOARD) {
    await page.keyboard.down(key);
    await page.keyboard.up(key);
    await page.waitForTimeout(20);
  }
  await page.waitForTimeout(300);
  await page.click('#stop');
  await page.waitForFunction(() => window.quillfenPage.current.ended);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-recording')]);
  const recording = path.join(scratch, 'full-keyboard.txt');
  await download.saveAs(recording);
  const keys = fs.readFileSync(recording, 'latin1').match(/ (down|up) \S+(?=\n|: no SDL)/g);
  const expected = FULL_KEYBOARD.flatMap(([key, number]) =>
    [' down ', ' up '].map(way => way + (number === null ? key : NAMED[number] ?? number)));
  assert.deepEqual(keys, expected);
  const native = nativeRun(assets, ['--input', recording]);
  assert.equal(native.status, 0, native.errors);
  assert.equal(await logWithoutFrameRates(page), native.log);
  await page.close();
});

test('a recording of the native game watches in the page to its win, in step', async () => {
  const page = await openPage();
  // Dropped onto the page, a file other than Level.txt is a recording to watch.
  const recording = path.join(assets, 'replays', 'recorded-win-bundled-level.txt');
  await dropFiles(page, [recording]);
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
  // The controls work from the keyboard: Tab to the button before the level files' input, Enter.
  // The chooser is awaited from the start: the browser is told to hand it over only once asked.
  const page = await openPage();
  const chosen = page.waitForEvent('filechooser');
  await page.focus('#bundled-level');
  for (const tab of [1, 2]) await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  const chooser = await chosen;
  await chooser.setFiles(fs.readdirSync(level).map(name => path.join(level, name)));
  await page.waitForFunction(() => window.quillfenPage.current?.ended);
  const native = nativeRun(level, ['--steps', '0']);
  assert.equal(native.status, 1);
  const failure = native.errors.replace(/^quillfen-replay: /, 'quillfen: ');
  assert.match(failure, /bitmap1\.bmp/);
  assert.equal(await page.textContent('#errors'), failure);
  assert.equal(await page.textContent('#log'), native.log);
  await page.close();
});

test('a browser without WebGL shows the page\'s words, not a blank canvas', async () => {
  const bare = await launchChromium(['--disable-webgl']);
  try {
    const page = await bare.newPage();
    const errors = [];
    page.on('pageerror', error => errors.push(error.message));
    await page.goto(`http://127.0.0.1:${harness.server.address().port}/`);
    await page.waitForSelector('#no-webgl', { state: 'visible' });
    assert.match(await page.textContent('#no-webgl'), /no WebGL[^]*Turn on WebGL/);
    assert.equal(await page.isVisible('#canvas'), false);
    await page.waitForTimeout(500);
    assert.deepEqual(errors, []);
  } finally {
    await bare.close();
  }
});

// What axe finds serious or critical on the page.
async function seriousViolations(page) {
  await page.addScriptTag({ path: createRequire(import.meta.url).resolve('axe-core/axe.min.js') });
  return page.evaluate(async () => (await window.axe.run()).violations
    .filter(v => v.impact === 'serious' || v.impact === 'critical')
    .map(v => `${v.id}: ${v.nodes.map(n => n.target).join(', ')}`));
}

test('axe finds nothing serious on the page, in either layout', async () => {
  for (const viewport of [{ width: 1920, height: 1080 }, { width: 700, height: 900 }]) {
    const page = await openPage({ viewport });
    assert.deepEqual(await seriousViolations(page), [], JSON.stringify(viewport));
    await page.close();
  }
});

// The most memory (resident, in MiB) any of the browser's tab processes holds.
async function tabMemory() {
  const session = await harness.browser.newBrowserCDPSession();
  const { processInfo } = await session.send('SystemInfo.getProcessInfo');
  await session.detach();
  const resident = id => Number(/VmRSS:\s+(\d+)/.exec(fs.readFileSync(`/proc/${id}/status`, 'latin1'))[1]) / 1024;
  return Math.max(...processInfo.filter(p => p.type === 'renderer').map(p => resident(p.id)));
}

test('hostile files are refused with the reason, and the bundled level plays after each', async t => {
  const hostile = fs.mkdtempSync(path.join(scratch, 'hostile-'));
  const file = (name, bytes) => {
    const where = path.join(hostile, name);
    fs.mkdirSync(path.dirname(where), { recursive: true });
    fs.writeFileSync(where, bytes);
    return where;
  };
  const hugeLevel = file('huge/Level.txt', '');
  fs.truncateSync(hugeLevel, 100 * 1024 * 1024);
  for (let i = 0; i < 10000; i += 1) file(`crowd/${i}.bmp`, '');
  const header = fs.readFileSync(path.join(assets, 'replays', 'recorded-win-bundled-level.txt'), 'latin1')
    .split('\n').filter(line => line.startsWith('#')).join('\n');
  const cases = [
    ['#level-files', [hugeLevel], '#status', /Level\.txt is 100\.0 MiB; at most 1\.0 MiB/],
    ['#level-files', [file('Level.txt', fs.readFileSync(path.join(assets, 'Level.txt'))),
      file('level.bmp', bitmapHeader(16384, 16384))], '#errors', /level\.bmp[^]*268435456 pixels; at most 67108864/],
    ['#level-folder', path.join(hostile, 'crowd'), '#status', /more than 1000 files/],
    ['#watch-recording', file('junk.txt', Buffer.from(Array.from({ length: 4096 }, (_, i) => (i * 7919) % 256))),
      '#errors', /expected a step number/],
    ['#watch-recording', file('forged.txt', header.replace('# format 1', '# format 99') + '\n1 down d\n'),
      '#errors', /format 99/],
    ['#watch-recording', file('million.txt', header + '\n' + '0 down a\n'.repeat(1000000)),
      '#status', /million\.txt is 8\.6 MiB; a recording is at most 4\.0 MiB/],
  ];
  const page = await openPage();
  for (const [input, files, where, reason] of cases) {
    await page.setInputFiles(input, files);
    await page.waitForFunction(([where, reason]) => new RegExp(reason).test(document.querySelector(where).textContent),
      [where, reason.source], { timeout: 20000 }).catch(async error => {
      assert.fail(`${input}: ${reason}: ${await page.textContent(where)} (${error.message})`);
    });
    const before = await page.evaluateHandle(() => window.quillfenPage.current);
    await page.click('#bundled-level');
    await page.waitForFunction(old => window.quillfenPage.current !== old && window.quillfenPage.current.module?.frames > 0, before);
    assert.equal(await page.textContent('#status'), '');
  }
  const memory = await tabMemory();
  t.diagnostic(`the tab's memory after the hostile files: ${memory.toFixed(0)} MiB`);
  assert.ok(memory < 1024, `${memory} MiB`);
  await page.close();
});

test('a session played by touch records the keyboard\'s and the mouse\'s events and replays natively', async () => {
  const context = await harness.browser.newContext({ hasTouch: true, viewport: { width: 1920, height: 1080 }, acceptDownloads: true });
  const page = await context.newPage();
  page.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await page.goto(`http://127.0.0.1:${harness.server.address().port}/`);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  const touch = await context.newCDPSession(page);
  const centre = async id => {
    const box = await page.locator(id).boundingBox();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  };
  const [left, right, jump] = [await centre('#touch-left'), await centre('#touch-right'), await centre('#touch-jump')];
  // Fingers ({x, y, id}) touching the screen, or lifting (all of them when none is named).
  const fingers = (type, points) => touch.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  await fingers('touchStart', [{ ...right, id: 1 }]);
  await page.waitForTimeout(1000);
  await fingers('touchStart', [{ ...right, id: 1 }, { ...jump, id: 2 }]);
  await page.waitForTimeout(300);
  await fingers('touchEnd', [{ ...jump, id: 2 }]);
  await page.waitForTimeout(300);
  await fingers('touchEnd', []);
  await page.tap('#click-to-play');
  // A tap on the canvas while another finger walks left shoots at the tapped game pixel.
  const canvas = await page.locator('#canvas').boundingBox();
  const tapped = { x: canvas.x + 901, y: canvas.y + 301, id: 4 };
  await fingers('touchStart', [{ ...left, id: 3 }]);
  await page.waitForTimeout(300);
  await fingers('touchStart', [{ ...left, id: 3 }, tapped]);
  await fingers('touchEnd', [tapped]);
  await page.waitForTimeout(300);
  await fingers('touchEnd', []);
  await page.waitForTimeout(200);
  await page.click('#stop');
  await page.waitForFunction(() => window.quillfenPage.current.ended);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-recording')]);
  const recording = path.join(scratch, 'touch-session.txt');
  await download.saveAs(recording);
  const events = fs.readFileSync(recording, 'latin1').split('\n')
    .filter(line => / (down|up|click) /.test(line)).map(line => line.replace(/^\d+ /, ''));
  assert.deepEqual(events, ['down d', 'down space', 'up space', 'up d', 'down a', 'click left 450 150', 'up a']);
  const native = nativeRun(assets, ['--input', recording]);
  assert.equal(native.status, 0, native.errors);
  assert.equal(await logWithoutFrameRates(page), native.log);
  await context.close();
});

test('after one visit the page opens and plays with no server', { timeout: 60000 }, async () => {
  const own = serve(site);
  await new Promise(resolve => own.on('listening', resolve));
  const context = await harness.browser.newContext();
  const page = await context.newPage();
  page.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await page.goto(`http://127.0.0.1:${own.address().port}/`);
  await page.evaluate(() => navigator.serviceWorker.ready);
  own.close();
  own.closeAllConnections();
  await page.reload();
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 60);
  assert.match(await page.textContent('#log'), /Collision Vector Data Loaded/);
  // The kept site can be installed: its manifest's icons are there, at their sizes.
  const icons = await page.evaluate(async () => {
    const manifest = await (await fetch(document.querySelector('link[rel=manifest]').href)).json();
    return Promise.all(manifest.icons.map(async icon => {
      const bitmap = await createImageBitmap(await (await fetch(icon.src)).blob());
      return [icon.sizes, `${bitmap.width}x${bitmap.height}`];
    }));
  });
  assert.deepEqual(icons, [['192x192', '192x192'], ['512x512', '512x512']]);
  await context.close();
});

test('a session cut off by a reload is kept to its last checkpoint, saved, watched and replayed natively to there', { timeout: 120000 }, async () => {
  const context = await harness.browser.newContext({ acceptDownloads: true });
  const page = await context.newPage();
  page.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await page.goto(`http://127.0.0.1:${harness.server.address().port}/`);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  await page.click('#click-to-play');
  await page.keyboard.down('d');
  const kept = /^the bundled level, .*, (\d+) steps, /;
  await page.waitForFunction(source => Number(new RegExp(source).exec(
    document.querySelector('#kept-recordings li')?.textContent)?.[1]) >= 120, kept.source, { timeout: 60000 });
  const log = await logWithoutFrameRates(page);
  await page.reload();
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  // The new session is not kept until the player does something in it.
  const entries = page.locator('#kept-recordings li');
  const entry = entries.first();
  const [, steps] = kept.exec(await entry.textContent());
  assert.match(await entry.textContent(), / steps, cut off /);
  await entry.getByRole('button', { name: /^Save the recording of the bundled level, / }).focus();
  const [download] = await Promise.all([page.waitForEvent('download'), page.keyboard.press('Enter')]);
  const recording = path.join(scratch, 'kept-session.txt');
  await download.saveAs(recording);
  assert.match(fs.readFileSync(recording, 'latin1'),
    new RegExp(`\\d+ down d\\n[^]*\\n${steps} check [0-9a-f]+\\n${Number(steps) + 1} quit\\n# end: cut off\\n$`));
  const native = nativeRun(assets, ['--input', recording]);
  assert.equal(native.status, 0, native.errors);
  assert.match(native.errors, new RegExp(`stopped after step ${steps}: the script quit`));
  assert.ok(log.startsWith(native.log), `${native.log}\n-- is not how the page's log began:\n${log}`);

  await entry.getByRole('button', { name: /^Watch the recording of the bundled level, / }).click();
  await page.waitForFunction(() => window.quillfenPage.current?.ended, null, { timeout: 60000 });
  assert.equal(await page.textContent('#errors'), native.errors);

  // Only the last 20 sessions are kept: older ones go first.
  await page.evaluate(async () => {
    const { keepRecording } = await import('./page/kept-store.js');
    for (let id = 1; id <= 25; id += 1) await keepRecording({ id, level: 'old', date: new Date(id).toISOString(), bytes: new Uint8Array() });
  });
  await page.reload();
  await page.waitForFunction(() => document.querySelectorAll('#kept-recordings li').length > 0);
  assert.equal(await entries.count(), 20);
  assert.match(await entries.first().textContent(), kept);
  assert.deepEqual(await seriousViolations(page), []);
  await context.close();
});
