// The level editor's core in Debian's chromium: the worker's module describes the bundled level
// exactly as the native library does (quillfen-describe-level), and bad input ends in a reply.
//   node --test tests/web/level_core_test.mjs   (tools/test-web.sh sets QUILLFEN_SITE,
//   QUILLFEN_ASSETS and QUILLFEN_DESCRIBE_LEVEL)
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { after, before, test } from 'node:test';
import { launchChromium, serve } from './chromium.mjs';

const site = process.env.QUILLFEN_SITE;
const assets = process.env.QUILLFEN_ASSETS;
const describeLevel = process.env.QUILLFEN_DESCRIBE_LEVEL;
let server;
let browser;
let page;

before(async () => {
  server = serve(site);
  browser = await launchChromium();
  page = await browser.newPage();
  page.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await page.goto(`http://127.0.0.1:${server.address().port}/level/files.txt`);
  await page.evaluate(async () => {
    const { createLevelCore } = await import('/editor/level-core.js');
    window.core = await createLevelCore();
    window.bundled = async () => {
      const names = (await (await fetch('/level/files.txt')).text()).split('\n').filter(Boolean);
      return Promise.all(names.map(async name =>
        ({ name, bytes: new Uint8Array(await (await fetch(`/level/${name}`)).arrayBuffer()) })));
    };
  });
});

after(async () => {
  await browser?.close();
  server?.close();
});

test('the module describes the bundled level as the native library does', async () => {
  const native = spawnSync(describeLevel, [assets], { encoding: 'utf8', maxBuffer: 1 << 28 });
  assert.equal(native.status, 0, native.stderr);
  const inPage = await page.evaluate(async () => JSON.parse(JSON.stringify(await window.core.describe(await window.bundled()))));
  // The page is handed the overlay's floats exactly (the JSON has nine digits), no scene lines
  // and arcs (the overlay draws them), and the lint's summary line.
  const expected = JSON.parse(native.stdout);
  assert.equal(inPage.summary, expected.lint.trimEnd().split('\n').pop());
  delete inPage.summary;
  delete expected.scene.lines;
  delete expected.scene.arcs;
  const floats = shapes => JSON.parse(JSON.stringify(shapes), (key, v) => (typeof v === 'number' ? Math.fround(v) : v));
  [expected.overlay, inPage.overlay] = [floats(expected.overlay), floats(inPage.overlay)];
  assert.deepEqual(inPage, expected);
  // The same files again: the pictures, sent once, are read from the worker's folder.
  const again = await page.evaluate(async () => {
    const files = await window.bundled();
    const first = JSON.stringify(await window.core.describe(files));
    return first === JSON.stringify(await window.core.describe([...files]));
  });
  assert.ok(again, 'the second description differs from the first');
  const [picture, text] = await page.evaluate(async () => {
    const p = await window.core.picture('bitmap2.bmp');
    return [[p.width, p.height, p.rgba.length, p.rgba[3]], await window.core.floatText(0.1)];
  });
  assert.deepEqual(picture, [64, 64, 64 * 64 * 4, 0]); // the corner is outside the disc
  assert.equal(text, '0.1');
});

test('binary bytes, a 10 MB level and names that climb out end in a reply', async () => {
  const replies = await page.evaluate(async () => {
    let seed = 7;
    const binary = new Uint8Array(10_000_000).map(() => (seed = (seed * 1103515245 + 12345) >>> 0) >>> 24);
    const files = await window.bundled();
    const started = performance.now();
    const big = await window.core.describe([...files.filter(f => f.name !== 'Level.txt'),
      { name: 'Level.txt', bytes: binary }, { name: '../escape.txt', bytes: binary }]);
    const none = await window.core.describe([{ name: 'tile.bmp', bytes: new Uint8Array(3) }]);
    return { ok: big.ok, leftOut: big.leftOut, seconds: (performance.now() - started) / 1000,
      noLevel: none.lint, missing: await window.core.picture('bitmap.bmp') };
  });
  assert.equal(replies.ok, true);
  assert.deepEqual(replies.leftOut, ['../escape.txt']);
  assert.ok(replies.seconds < 30, `${replies.seconds} s`);
  assert.equal(replies.noLevel, 'Level.txt: error: cannot be read: No such file or directory\n');
  assert.equal(replies.missing, null);
});
