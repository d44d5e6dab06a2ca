// Types WORDS into the search field of the index SITE/index.html in
// Chromium and takes a picture of what it shows: OUT.png.
//
//   node scripts/search-screenshot.js SITE WORDS OUT
'use strict';
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const puppeteer = require(path.join(__dirname, '..', 'web', 'node_modules', 'puppeteer-core'));

(async () => {
  const [site, words, out] = process.argv.slice(2);
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--headless=new'] });
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1400, height: 1000 });
    await page.goto(pathToFileURL(path.join(path.resolve(site), 'index.html')).href);
    await page.type('#search', words);
    await page.waitForFunction((typed) => document.getElementById('search-status').dataset.query === typed, {}, words);
    await page.waitForFunction(() => Array.from(document.querySelectorAll('tbody tr:not([hidden]) td.excerpt'))
      .every((cell) => cell.querySelector('mark')));
    await page.screenshot({ path: out });
  } finally {
    await browser.close();
  }
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
