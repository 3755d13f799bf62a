// What a browser test file sets up: the site served and a browser (chromium unless `launch`
// starts another) started before its tests, both ended after them, with its scratch folder
// (harness.server, harness.browser).
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { after, before } from 'node:test';
import { launchChromium, serve } from './chromium.mjs';

export function useBrowser(site, scratch, launch = launchChromium) {
  const harness = { server: null, browser: null };
  before(async () => {
    harness.server = serve(site);
    harness.browser = await launch();
  });
  after(async () => {
    await harness.browser?.close();
    harness.server?.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  });
  return harness;
}

const FRAME_RATE_LINE = /^\d+ frames in [\d.e+-]+ seconds = [\d.e+-]+ FPS$/;

// The page's log as the game wrote it, frame-rate lines aside (of a page of playwright's or
// of puppeteer's).
export async function logWithoutFrameRates(page) {
  const text = await page.$eval('#log', log => log.textContent);
  return text.split('\n').filter(line => !FRAME_RATE_LINE.test(line)).join('\n');
}

// The native replay tool (QUILLFEN_NATIVE_REPLAY) in a level folder.
export function nativeRun(dir, args) {
  // A script without an end would step for ever: no run may hold the tests up past a minute.
  const run = spawnSync(process.env.QUILLFEN_NATIVE_REPLAY, ['--dir', dir, ...args],
    { encoding: 'latin1', timeout: 60000 });
  return { status: run.status, log: run.stdout, errors: run.stderr };
}
