// How long the built page takes from choosing a document of about 1 MB to
// showing its last line in the preview, in Debian's Chromium (goal: under a
// second). Prints the median of RUNS.
//
//   node bench/web-page.js [RUNS]     (after scripts/build-web.sh and npm ci in web/)
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const root = path.resolve(__dirname, '..');
const puppeteer = require(path.join(root, 'web', 'node_modules', 'puppeteer-core'));
const { buildDocument } = require(path.join(root, 'web', 'tests', 'support.js'));

async function main(runs) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'fa4web-bench-'));
  const lines = [];
  for (let i = 0; i < 9000; ++i) lines.push(`Zeile ${i}: Lieferung der Schrauben M8 nach DIN, Preis 12,50 DM, ohne Abzug ${'x'.repeat(40)}`);
  const document = path.join(work, 'large.fa4');
  fs.writeFileSync(document, buildDocument(lines));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--user-data-dir=' + path.join(work, 'profile')],
  });
  const times = [];
  try {
    for (let run = 0; run < runs; ++run) {
      const page = await browser.newPage();
      await page.goto(pathToFileURL(path.join(root, 'build-web', 'site', 'index.html')).href);
      await page.waitForSelector('body[data-ready="true"]');
      const input = await page.$('#documents');
      const start = Date.now();
      await input.uploadFile(document);
      const frame = await (await page.waitForSelector('#preview')).contentFrame();
      await frame.waitForFunction(() => document.body && document.body.innerText.includes('Zeile 8999:'), { polling: 'raf', timeout: 30000 });
      times.push(Date.now() - start);
      await page.close();
    }
  } finally {
    await browser.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
  times.sort((a, b) => a - b);
  console.log(`page, 1 MB document chosen to shown: runs ${times.join(' ')} ms, median ${times[Math.floor(times.length / 2)]} ms (goal: under 1000)`);
}

main(Number(process.argv[2] || 5)).catch((error) => {
  console.error(error);
  process.exit(1);
});
