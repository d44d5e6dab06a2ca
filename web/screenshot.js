// Takes the README's picture of the page: a sample chosen in the built page,
// in Debian's Chromium.
//
//   node web/screenshot.js OUTPUT.png
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const puppeteer = require('puppeteer-core');

async function main(output) {
  const root = path.resolve(__dirname, '..');
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'fa4web-shot-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--user-data-dir=' + profile, '--hide-scrollbars'],
  });
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 1200, height: 900 });
    await page.goto(pathToFileURL(path.join(root, 'build-web', 'site', 'index.html')).href);
    await page.waitForSelector('body[data-ready="true"]');
    const examples = ['brief.fa4', 'bericht.fa4', 'notiz.fa4'].map((name) => path.join(root, 'examples', name));
    await (await page.$('#documents')).uploadFile(...examples);
    await page.waitForFunction(() => document.querySelectorAll('#list button').length === 3);
    await page.click('#list li:nth-child(2) button');
    await new Promise((resolve) => setTimeout(resolve, 300));
    await page.screenshot({ path: output });
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

main(process.argv[2] || 'page.png').catch((error) => {
  console.error(error);
  process.exit(1);
});
