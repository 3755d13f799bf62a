// What the browser test and the web figures share: the site served on the loopback address and
// Debian's chromium, headless, with WebGL drawn by SwiftShader.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { chromium } from 'playwright-core';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json' };

// A static server of the folder on a free loopback port (server.address().port).
export function serve(folder) {
  const root = path.resolve(folder);
  return http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(root) || !fs.existsSync(file)) return response.writeHead(404).end();
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'text/plain' });
    response.end(fs.readFileSync(file));
  }).listen(0, '127.0.0.1');
}

export function launchChromium(extraArgs = []) {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox', '--disable-gpu',
      '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', ...extraArgs],
  });
}
