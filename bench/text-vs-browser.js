// Holds `fa4tohtml --text` to what Chromium shows of the default HTML: for
// each document, the share of the browser's words (innerText, soft hyphens
// removed as a reader does not see them) found in the text in the same
// order, and whether the text is valid UTF-8 without soft hyphens and
// control bytes (tab and LF aside). Prints one line per document and the
// total.
//
//   node bench/text-vs-browser.js FA4TOHTML DOCUMENT...
//
// puppeteer-core comes from web/node_modules (npm ci in web/).
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const { pathToFileURL } = require('node:url');
const puppeteer = require(path.join(__dirname, '..', 'web', 'node_modules', 'puppeteer-core'));

const words = (text) => text.replace(/\u00ad/g, '').match(/[\p{L}\p{N}]+/gu) || [];

// Length of the longest common subsequence: row by row, and for long texts
// as diff --minimal finds it.
function commonInOrder(a, b) {
  if (a.length * b.length > 4e7) return commonByDiff(a, b);
  let previous = new Uint32Array(b.length + 1);
  let current = new Uint32Array(b.length + 1);
  for (let i = 1; i <= a.length; ++i) {
    for (let j = 1; j <= b.length; ++j)
      current[j] = a[i - 1] === b[j - 1] ? previous[j - 1] + 1 : Math.max(previous[j], current[j - 1]);
    [previous, current] = [current, previous];
  }
  return previous[b.length];
}

function commonByDiff(a, b) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'words-'));
  try {
    fs.writeFileSync(path.join(folder, 'a'), a.join('\n') + '\n');
    fs.writeFileSync(path.join(folder, 'b'), b.join('\n') + '\n');
    let out = '';
    try {
      out = execFileSync('diff', ['--minimal', path.join(folder, 'a'), path.join(folder, 'b')], { maxBuffer: 1 << 30 }).toString();
    } catch (error) {
      out = error.stdout.toString(); // diff exits with 1 when the files differ
    }
    return a.length - out.split('\n').filter((line) => line.startsWith('< ')).length;
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

function textFaults(bytes) {
  const faults = [];
  try {
    new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    faults.push('not UTF-8');
  }
  const text = bytes.toString('utf8');
  if (text.includes('\u00ad')) faults.push('soft hyphen');
  if (/[\u0000-\u0008\u000b-\u001f\u007f-\u009f]/.test(text)) faults.push('control byte');
  return faults;
}

async function main() {
  const [fa4tohtml, ...documents] = process.argv.slice(2);
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'text-vs-browser-'));
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--headless=new'] });
  let shown = 0;
  let found = 0;
  let faulty = 0;
  try {
    const page = await browser.newPage();
    for (const [i, document] of documents.entries()) {
      const html = path.join(work, i + '.html');
      execFileSync(fa4tohtml, ['-o', html, document]);
      const text = execFileSync(fa4tohtml, ['--text', '-o', '-', document]);
      await page.goto(pathToFileURL(html).href);
      const browserWords = words(await page.evaluate(() => document.body.innerText));
      const common = commonInOrder(browserWords, words(text.toString('utf8')));
      const faults = textFaults(text);
      shown += browserWords.length;
      found += common;
      if (faults.length) ++faulty;
      console.log(`${path.basename(document)}: ${common} of ${browserWords.length} words in order` +
        (faults.length ? ' ' + faults.join(', ') : ''));
    }
  } finally {
    await browser.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
  console.log(`all: ${found} of ${shown} words (${((100 * found) / shown).toFixed(3)} %), ` +
    `${faulty} of ${documents.length} texts with faults`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
