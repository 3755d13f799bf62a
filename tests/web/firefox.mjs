// Debian's firefox-esr, driven by puppeteer-core over WebDriver BiDi. It runs in a window on the
// X server the caller starts (Xvfb), where it draws WebGL with Mesa; `prefs` are Firefox's own
// settings (about:config).
import puppeteer from 'puppeteer-core';

export function launchFirefox({ headless = false, prefs = {} } = {}) {
  return puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    protocol: 'webDriverBiDi',
    headless,
    defaultViewport: null,
    extraPrefsFirefox: prefs,
  });
}
