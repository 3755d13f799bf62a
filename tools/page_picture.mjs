// Takes the picture of the game's page that the README shows (docs/game-page.png): the page in a
// 1920x1080 window of headless chromium, the canvas at 1280x960, the bundled level being played
// (walking right, a jump, a shot at the first enemy's way), its log beside it. The PNG is written
// again with the strongest compression (tools/shrink_png.py at a factor of 1).
// Usage: node tools/page_picture.mjs [out.png]   (after tools/build-web.sh, and npm ci in
// tests/web for playwright-core)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launchChromium, serve } from '../tests/web/chromium.mjs';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const out = path.resolve(process.argv[2] || path.join(root, 'docs/game-page.png'));
const server = serve(path.join(root, 'build-web/site'));
await new Promise(resolve => server.once('listening', resolve));
const browser = await launchChromium();
try {
  const page = await browser.newPage({ viewport: { width: 1920, height: 1080 } });
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForFunction(() => window.quillfenPage.current?.module?.frames > 0);
  const canvas = await page.locator('#canvas').boundingBox();
  if (canvas.width !== 1280 || canvas.height !== 960) throw new Error(`the canvas shows at ${canvas.width}x${canvas.height}`);
  await page.click('#click-to-play');
  await page.waitForTimeout(1500); // the avatar lands
  await page.keyboard.down('d');
  await page.waitForTimeout(1800);
  await page.keyboard.press(' ');
  await page.waitForTimeout(500);
  await page.mouse.click(canvas.x + 1100, canvas.y + 500);
  await page.waitForTimeout(250);
  await page.keyboard.up('d');
  const shot = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'quillfen-picture-')), 'page.png');
  await page.screenshot({ path: shot });
  execFileSync('python3', [path.join(root, 'tools/shrink_png.py'), shot, out, '1']);
  fs.rmSync(path.dirname(shot), { recursive: true });
  console.log(`${path.relative(process.cwd(), out)}: ${(fs.statSync(out).size / 1024).toFixed(0)} KiB`);
} finally {
  await browser.close();
  server.close();
}
