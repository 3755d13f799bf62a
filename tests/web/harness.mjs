// What a browser test file sets up: the site served and chromium started before its tests,
// both ended after them, with its scratch folder (harness.server, harness.browser).
import fs from 'node:fs';
import { after, before } from 'node:test';
import { launchChromium, serve } from './chromium.mjs';

export function useChromium(site, scratch) {
  const harness = { server: null, browser: null };
  before(async () => {
    harness.server = serve(site);
    harness.browser = await launchChromium();
  });
  after(async () => {
    await harness.browser?.close();
    harness.server?.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  });
  return harness;
}
