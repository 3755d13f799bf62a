// The level editor (edit.html) in Debian's chromium: a file opened and saved without an edit
// comes back byte for byte; a drag in the world rewrites only the dragged line's value words,
// as one undo step, and a share link opens the edited text; the problems shown are
// quillfen-lint's lines for the same folder; a play-test of an edit replays natively on the
// saved Level.txt, and the editor comes back as it was, its log in sight; the game's page plays
// a link's level; arc and tile handles rewrite only their words, and new lines in a CRLF file are
// CRLF; a folder opened in place saves back into it; the edited level survives a reload; bad
// input is said, and the page keeps answering; a link carries the folder's own pictures while
// it stays under 64 KiB.
//   node --test tests/web/editor_test.mjs   (tools/test-web.sh sets QUILLFEN_SITE,
//   QUILLFEN_ASSETS, QUILLFEN_LINT and QUILLFEN_NATIVE_REPLAY, and runs it under Xvfb)
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { logWithoutFrameRates, nativeRun, useBrowser } from './harness.mjs';

const site = process.env.QUILLFEN_SITE;
const assets = process.env.QUILLFEN_ASSETS;
const lint = process.env.QUILLFEN_LINT;
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'quillfen-editor-'));
const harness = useBrowser(site, scratch);
const pictures = fs.readdirSync(assets).filter(name => name.endsWith('.bmp'));
const bundled = fs.readFileSync(path.join(assets, 'Level.txt'));

async function openEditor() {
  const page = await harness.browser.newPage({ acceptDownloads: true, viewport: { width: 1280, height: 800 } });
  page.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await page.goto(`http://127.0.0.1:${harness.server.address().port}/edit.html`);
  await page.waitForFunction(() => window.quillfenEditor);
  await page.evaluate(() => window.quillfenEditor.settled());
  return page;
}

// Opens a Level.txt of these bytes with the bundled pictures beside it.
async function openLevel(page, bytes) {
  const files = pictures.map(name => ({ name, mimeType: 'image/bmp', buffer: fs.readFileSync(path.join(assets, name)) }));
  files.push({ name: 'Level.txt', mimeType: 'text/plain', buffer: Buffer.from(bytes) });
  await page.evaluate(() => { document.getElementById('status').textContent = ''; });
  await page.setInputFiles('#open-files', files);
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Your level.'));
  await page.evaluate(() => window.quillfenEditor.settled());
}

// The page coordinates of a world point as the world pane draws it now.
function client(page, x, y) {
  return page.evaluate(([x, y]) => window.quillfenEditor.worldToClient(x, y), [x, y]);
}

// Presses the left button at one world point and lets it go at another.
async function drag(page, [x0, y0], [x1, y1]) {
  const [from, to] = [await client(page, x0, y0), await client(page, x1, y1)];
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(to.x, to.y, { steps: 5 });
  await page.mouse.up();
}

async function click(page, x, y) {
  const at = await client(page, x, y);
  await page.mouse.click(at.x, at.y);
  await page.evaluate(() => window.quillfenEditor.settled());
}

async function saved(page) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-level')]);
  assert.equal(download.suggestedFilename(), 'Level.txt');
  return fs.readFileSync(await download.path());
}

test('a level opened and saved without an edit keeps its bytes, and findings sit on their words', async () => {
  const page = await openEditor();
  assert.deepEqual(await saved(page), bundled);
  const notes = Buffer.from('\ufeffNotes in ünïcode 😀, tabs\tand a word here\r\n');
  const levels = {
    crlf: fs.readFileSync(path.join(assets, '../tests/levels/example-crlf-with-notes.txt')),
    'no final newline': Buffer.concat([notes, bundled.subarray(0, bundled.length - 1)]),
    'not UTF-8': Buffer.concat([Buffer.from([0x41, 0xff, 0xfe, 0x0d, 0x0a, 0x80, 0x0a]), bundled, Buffer.from([0xe9])]),
  };
  for (const [name, bytes] of Object.entries(levels)) {
    await openLevel(page, bytes);
    assert.deepEqual(await saved(page), bytes, name);
  }
  assert.match(await page.textContent('#status'), /not valid UTF-8/);
  // After multi-byte characters and a CRLF, a finding marks its own word.
  await openLevel(page, Buffer.concat([notes, Buffer.from('#_CollVec //X 1 //Yy //Dx 3 //Dy 4 //Type 1 //ID 2\r\n')]));
  assert.deepEqual(await page.locator('.cm-lintRange-warning').allTextContents(), ['//Yy']);
  await page.close();
});

test('dragging a line end rewrites its value words as one undo step; a link carries the edit', async () => {
  const page = await openEditor();
  const level = 'Notes é😀\r\n#_CollVec //X 1000 //Y 300 //Dx 200 //Dy 0 //Type 3 //ID 7\r\n' +
    '#_CollVec\t//X 1500 //Y 500 //Dx 100 //Dy 0 //Type 1 //ID 8';
  await openLevel(page, Buffer.from(level));
  await page.selectOption('#grid', '32');
  await click(page, 1100, 300);
  await drag(page, [1200, 300], [1312, 352]);
  const edited = level.replace('//Dx 200 //Dy 0', '//Dx 312 //Dy 52');
  await page.waitForFunction(text => window.quillfenEditor.text() === text, edited);
  await page.evaluate(() => window.quillfenEditor.settled());
  await page.keyboard.press('Control+z');
  assert.equal(await page.evaluate(() => window.quillfenEditor.text()), level);
  await page.keyboard.press('Control+Shift+z');
  assert.equal(await page.evaluate(() => window.quillfenEditor.text()), edited);
  await page.keyboard.press('Control+z');
  await page.keyboard.press('Control+y');
  assert.equal(await page.evaluate(() => window.quillfenEditor.text()), edited);
  assert.deepEqual(await saved(page), Buffer.from(edited));
  // A link to the edited level opens it in another page, byte for byte.
  await page.click('#share-link');
  const link = await page.waitForFunction(() => document.getElementById('share-url').value);
  const other = await harness.browser.newPage();
  await other.goto(await link.jsonValue());
  await other.waitForFunction(() => window.quillfenEditor);
  await other.evaluate(() => window.quillfenEditor.settled());
  assert.equal(await other.evaluate(() => window.quillfenEditor.text()), edited);
  await other.close();
  await page.close();
});

test('the inspector rewrites one word; a drawn line and a deleted record are one step each', async () => {
  const page = await openEditor();
  const level = 'Notes\r\n#_CollVec //X 1000 //Y 300 //Dx 200 //Dy 0 //Type 3 //ID 7\r\n' +
    '  #_CollArc //Position 500 400 //Radius 50 //Sector 15 //flag 1 //speed/distance 0 0\r\nEnd';
  await openLevel(page, Buffer.from(level));
  const text = () => page.evaluate(() => window.quillfenEditor.text());
  await click(page, 1100, 300);
  await page.click('#inspector .bit input >> nth=1');
  const retyped = level.replace('//Type 3', '//Type 1');
  await page.waitForFunction(expected => window.quillfenEditor.text() === expected, retyped);
  await page.evaluate(() => window.quillfenEditor.settled());
  await page.selectOption('#tool', 'line');
  await drag(page, [2000, 100], [2100, 150]);
  await page.waitForFunction(() => window.quillfenEditor.text().includes('//ID 8'));
  assert.match(await text(), /\/\/ID 7\r\n#_CollVec \/\/X 2000 \/\/Y 100 \/\/Dx \d+ \/\/Dy \d+ \/\/Type 3 \/\/ID 8\r\n  #_CollArc/);
  await page.evaluate(() => window.quillfenEditor.settled());
  await page.selectOption('#tool', 'select');
  await click(page, 550, 400);
  await page.keyboard.press('Delete');
  await page.waitForFunction(() => !window.quillfenEditor.text().includes('#_CollArc'));
  assert.match(await text(), /\/\/ID 8\r\nEnd$/);
  for (let step = 0; step < 3; step += 1) await page.keyboard.press('Control+z');
  assert.equal(await text(), level);
  await page.close();
});

test('the problems are quillfen-lint\'s, line for line', async () => {
  const page = await openEditor();
  const levels = fs.readdirSync(path.join(assets, '../tests/levels')).map(name => path.join(assets, '../tests/levels', name));
  for (const file of [path.join(assets, 'Level.txt'), ...levels]) {
    const folder = fs.mkdtempSync(path.join(scratch, 'level-'));
    for (const name of pictures) fs.copyFileSync(path.join(assets, name), path.join(folder, name));
    fs.copyFileSync(file, path.join(folder, 'Level.txt'));
    const native = spawnSync(lint, [], { cwd: folder, encoding: 'utf8' });
    await openLevel(page, fs.readFileSync(file));
    const shown = await page.locator('#problems li').allTextContents();
    shown.push(await page.textContent('#problems .summary'));
    assert.deepEqual(shown, native.stdout.trimEnd().split('\n'), path.basename(file));
  }
  await page.close();
});

test('a play-test of an edit replays natively on the saved Level.txt; the editor comes back as it was', async () => {
  const page = await openEditor();
  const text = () => page.evaluate(() => window.quillfenEditor.text());
  const edited = bundled.toString('utf8').replace('#_Player //Hp 3', '#_Player //Hp 7');
  await page.evaluate(level => window.quillfenEditor.setText(level), edited);
  await page.locator('.cm-line', { hasText: '#_Player' }).click();
  await page.keyboard.press('End');
  await page.click('#play-test');
  await page.waitForFunction(() => window.quillfenEditor.playTest()?.module?.frames > 0);
  assert.equal(await page.isVisible('#source'), false);
  await page.keyboard.down('d');
  await page.waitForTimeout(1500);
  await page.keyboard.up('d');
  await page.click('#stop');
  await page.waitForSelector('#source', { state: 'visible' });
  assert.ok(await page.isVisible('#log'), 'The last play-test\'s log stays in sight in the editor.');
  // The text has the keyboard again, with its cursor and its history.
  await page.keyboard.type('5');
  assert.equal(await text(), edited.replace('//GunType S', '//GunType S5'));
  for (const key of ['Control+z', 'Control+z']) await page.keyboard.press(key);
  assert.equal(await text(), bundled.toString('utf8'));
  await page.keyboard.press('Control+y');
  assert.equal(await text(), edited);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-recording')]);
  const folder = fs.mkdtempSync(path.join(scratch, 'play-test-'));
  for (const name of pictures) fs.copyFileSync(path.join(assets, name), path.join(folder, name));
  fs.writeFileSync(path.join(folder, 'Level.txt'), await saved(page));
  await download.saveAs(path.join(folder, 'recording.txt'));
  assert.match(fs.readFileSync(path.join(folder, 'recording.txt'), 'latin1'), / down d\n[^]* up d\n[^]* quit\n/);
  const native = nativeRun(folder, ['--input', path.join(folder, 'recording.txt')]);
  assert.equal(native.status, 0, native.errors);
  assert.equal(await logWithoutFrameRates(page), native.log);
  assert.match(native.log, /^Hp: 7$/m);
  await page.close();
});

test('the game\'s page plays a link\'s level, and says when a link is cut', async () => {
  const page = await openEditor();
  await page.evaluate(level => window.quillfenEditor.setText(level), bundled.toString('utf8').replace('//Hp 3', '//Hp 7'));
  await page.click('#share-link');
  const link = await (await page.waitForFunction(() => document.getElementById('share-url').value)).jsonValue();
  const fragment = link.slice(link.indexOf('#'));
  const root = `http://127.0.0.1:${harness.server.address().port}/`;
  const game = await harness.browser.newPage();
  game.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await game.goto(root + fragment);
  await game.waitForFunction(() => document.getElementById('log').textContent.includes('Hp: '));
  assert.match(await game.textContent('#log'), /^Hp: 7$/m);
  assert.equal(await game.textContent('#status'), 'The level of the link.');
  await game.goto(root + 'index.html' + fragment.slice(0, fragment.length / 2));
  await game.waitForFunction(() => document.getElementById('log').textContent.includes('Hp: '));
  assert.match(await game.textContent('#status'), /^This link cannot be played: the link is [^]*\. Here is the bundled level\.$/);
  assert.match(await game.textContent('#log'), /^Hp: 3$/m);
  await game.close();
  await page.close();
});

// A paste as the browser hands it to the text: a paste event with the text on its clipboard.
function paste(page, text) {
  return page.evaluate(value => {
    const data = new DataTransfer();
    data.setData('text/plain', value);
    const event = new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true });
    document.querySelector('.cm-content').dispatchEvent(event);
  }, text);
}

test('arc and tile handles rewrite only their words; new lines in a CRLF file are CRLF; undo gives the bytes back', async () => {
  const page = await openEditor();
  const text = () => page.evaluate(() => window.quillfenEditor.text());
  const level = 'Notes é😀\r\n  #_CollArc //Position 512 400 //Radius 96 //Sector 15 //flag 1 //speed/distance 0 0\r\n' +
    '#_TList\t//Image tile.bmp //Id 0 //Vector 1600 320 //ImgId 0';
  await openLevel(page, Buffer.from(level));
  await page.selectOption('#grid', '16');
  // [the record the text cursor selects, the handle's point, where it is dropped, the words rewritten]
  const steps = [['#_CollArc', [512, 400], [544, 368], ['//Position 512 400', '//Position 544 368']],
    [null, [640, 368], [672, 368], ['//Radius 96', '//Radius 128']],
    ['#_TList', [1600, 320], [1632, 288], ['//Vector 1600 320', '//Vector 1632 288']]];
  let edited = level;
  for (const [record, from, to, words] of steps) {
    if (record) await page.locator('.cm-line', { hasText: record }).click();
    await page.evaluate(() => window.quillfenEditor.settled());
    await drag(page, from, to);
    edited = edited.replace(...words);
    await page.waitForFunction(expected => window.quillfenEditor.text() === expected, edited);
  }
  for (let step = 0; step < 3; step += 1) await page.keyboard.press('Control+z');
  assert.deepEqual(await saved(page), Buffer.from(level));
  // Enter, and a paste of LF lines, write the file's CRLF; findings after them sit on their words.
  await page.locator('.cm-line', { hasText: 'Notes' }).click();
  await page.keyboard.press('End');
  await page.keyboard.press('Enter');
  await page.keyboard.type('New notes');
  await paste(page, '\n#_CollVec //X 1 //Yy //Dx 3 //Dy 4 //Type 1 //ID 2\nmore notes');
  const typed = level.replace('😀\r\n', '😀\r\nNew notes\r\n#_CollVec //X 1 //Yy //Dx 3 //Dy 4 //Type 1 //ID 2\r\nmore notes\r\n');
  assert.equal(await text(), typed);
  assert.deepEqual(await saved(page), Buffer.from(typed));
  await page.evaluate(() => window.quillfenEditor.settled());
  assert.deepEqual(await page.locator('.cm-lintRange-warning').allTextContents(), ['//Yy']);
  await page.close();
});

test('a folder opened in place saves Level.txt back into it', async () => {
  const page = await openEditor();
  const level = fs.readFileSync(path.join(assets, '../tests/levels/example-crlf-with-notes.txt'));
  // A headless browser cannot click the system's folder picker: the page gets, as the picker's
  // choice, a real folder of its origin's private file system, holding the level's files.
  await page.evaluate(async bytes => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('my-level', { create: true });
    const names = (await (await fetch('level/files.txt')).text()).split('\n').filter(name => name.endsWith('.bmp'));
    const files = await Promise.all(names.map(async name => [name, await (await fetch('level/' + name)).arrayBuffer()]));
    for (const [name, data] of [...files, ['Level.txt', new Uint8Array(bytes)]]) {
      const writable = await (await folder.getFileHandle(name, { create: true })).createWritable();
      await writable.write(data);
      await writable.close();
    }
    window.showDirectoryPicker = async () => folder;
  }, [...level]);
  await page.click('#open-in-place');
  await page.waitForFunction(() => document.getElementById('status').textContent === 'The folder my-level, to save in place.');
  await page.evaluate(() => window.quillfenEditor.settled());
  // The folder's pictures came with it: no finding says one cannot be read.
  const problems = await page.evaluate(() => window.quillfenEditor.problems());
  assert.deepEqual(problems.filter(problem => problem.line === null), []);
  // A shorter text (the records before the arc): nothing of the old file may stay behind its end.
  const edited = level.toString('utf8').split('#_CollArc')[0];
  await page.evaluate(text => window.quillfenEditor.setText(text), edited);
  await page.click('#save-in-place');
  await page.waitForFunction(() => document.getElementById('status').textContent === 'Saved Level.txt in my-level.');
  const written = await page.evaluate(async () => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('my-level');
    return [...new Uint8Array(await (await (await folder.getFileHandle('Level.txt')).getFile()).arrayBuffer())];
  });
  assert.deepEqual(Buffer.from(written), Buffer.from(edited));
  await page.close();
});

test('the level being edited comes back after a reload, with the file as it was opened a click away', async () => {
  const page = await openEditor();
  const opened = Buffer.concat([Buffer.from('Notes \xe9\r\n', 'latin1'), bundled]);
  await openLevel(page, opened);
  const problems = await page.evaluate(() => window.quillfenEditor.problems());
  await page.locator('.cm-line', { hasText: '#_Player' }).click();
  await page.keyboard.press('End');
  await page.keyboard.type(' 9');
  const edited = Buffer.from(await page.evaluate(() => window.quillfenEditor.text()), 'latin1');
  assert.notDeepEqual(edited, opened);
  // At once: the page keeps what it was about to keep as it is left.
  await page.reload();
  await page.waitForFunction(() => window.quillfenEditor);
  await page.evaluate(() => window.quillfenEditor.settled());
  assert.match(await page.textContent('#status'), /^Your level as you left it \(kept in this browser\)\. .*not valid UTF-8/);
  assert.deepEqual(await saved(page), edited);
  assert.deepEqual(await page.evaluate(() => window.quillfenEditor.problems()), problems);
  await page.click('#status button');
  assert.match(await page.textContent('#status'), /^Your level as it was opened\./);
  assert.deepEqual(await saved(page), opened);
  await page.close();
});

// Opens a chosen folder of the bundled pictures and these files ({name: bytes}), which may
// stand in for some of them.
async function openFolder(page, own) {
  const files = { ...Object.fromEntries(pictures.map(name => [name, fs.readFileSync(path.join(assets, name))])), ...own };
  await page.evaluate(() => { document.getElementById('status').textContent = ''; });
  await page.setInputFiles('#open-files', Object.entries(files).map(([name, buffer]) => ({ name, mimeType: 'application/octet-stream', buffer })));
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Your level.'));
}

test('bad input: the editor says what it cannot use, shows the rest and keeps answering', async () => {
  const page = await openEditor();
  // [Level.txt, tile.bmp in place of the bundled one or none, what the problems pane says]
  const cases = {
    'binary bytes': [Buffer.from(Array.from({ length: 200000 }, (_, i) => (i * i + 31 * i) % 251)), null, /holds a NUL byte/],
    'NUL bytes': [Buffer.concat([bundled.subarray(0, 2000), Buffer.alloc(5000), bundled.subarray(2000)]), null,
      / in 31 records[^]*this word is 5005 characters long; the game keeps its first 254/],
    'a line of a million characters': [Buffer.from(`#_CollVec //X ${'1'.repeat(1000000)} //Y 2`), null, /reads as infinity/],
    'a picture that is not a bitmap': [bundled, Buffer.from('BM and no more'), /\(tile\.bmp\): cut short at byte 14/],
  };
  for (const [name, [level, tile, said]] of Object.entries(cases)) {
    await openFolder(page, tile ? { 'Level.txt': level, 'tile.bmp': tile } : { 'Level.txt': level });
    const asked = Date.now();
    await page.evaluate(() => window.quillfenEditor.text().length);
    assert.ok(Date.now() - asked < 1000, `The page answers within a second after ${name}.`);
    await page.evaluate(() => window.quillfenEditor.settled());
    assert.match(await page.textContent('#problems'), said, name);
  }
  // A forged link: said, and the bundled level opens instead.
  const forged = await harness.browser.newPage();
  forged.on('pageerror', error => assert.fail('the page threw: ' + error.message));
  await forged.goto(`http://127.0.0.1:${harness.server.address().port}/edit.html#level=AAAAforged`);
  await forged.waitForFunction(() => window.quillfenEditor);
  await forged.evaluate(() => window.quillfenEditor.settled());
  assert.equal(await forged.textContent('#status'), 'This link cannot be opened (the link is cut short or damaged); here is the bundled level.');
  assert.equal(await forged.evaluate(() => window.quillfenEditor.text()), bundled.toString('utf8'));
  await forged.close();
  await page.close();
});

test('a link carries the folder\'s own pictures while it stays under 64 KiB, and says which it leaves out', async () => {
  const page = await openEditor();
  const own = Buffer.from(fs.readFileSync(path.join(assets, 'bitmap2.bmp')));
  own[own.length - 1] ^= 0xff; // a pixel of its own: not the bundled picture
  const level = Buffer.concat([bundled, Buffer.from('#_Image own.bmp\n')]);
  const share = async () => {
    await page.evaluate(() => { document.getElementById('share-url').value = ''; });
    await page.click('#share-link');
    return (await page.waitForFunction(() => document.getElementById('share-url').value)).jsonValue();
  };
  await openFolder(page, { 'Level.txt': level, 'own.bmp': own });
  const link = await share();
  assert.ok(link.length <= 64 * 1024, 'The link stays under 64 KiB.');
  assert.equal(await page.textContent('#status'), '');
  const other = await harness.browser.newPage();
  await other.goto(link);
  await other.waitForFunction(() => window.quillfenEditor);
  await other.evaluate(() => window.quillfenEditor.settled());
  assert.equal(await other.evaluate(() => window.quillfenEditor.text()), level.toString('utf8'));
  assert.deepEqual(await other.evaluate(() => window.quillfenEditor.problems()), [], 'own.bmp came with the link.');
  await other.close();
  // A picture that does not compress makes the link too long: the link leaves the pictures out.
  await openFolder(page, { 'Level.txt': level, 'own.bmp': own, 'noise.bmp': crypto.randomBytes(100000) });
  assert.ok((await share()).length <= 64 * 1024, 'The link stays under 64 KiB.');
  assert.equal(await page.textContent('#status'), 'The link leaves out own.bmp, noise.bmp: with them it would be too long.');
  await page.close();
});
