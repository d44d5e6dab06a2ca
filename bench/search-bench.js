// Times an archive's index in Debian's Chromium: how long the page takes to
// open, and from typing a word to the rows of its documents (the first
// results), for a word of most documents, one of about one in a hundred and
// one of a single document, each in a fresh page (nothing loaded yet) and
// typed again.
//
//   node bench/search-bench.js SITE_FOLDER
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const puppeteer = require(path.join(__dirname, '..', 'web', 'node_modules', 'puppeteer-core'));

// Words of the data with how many documents hold each.
function wordsOf(site) {
  const counts = [];
  const folder = path.join(site, 'search');
  for (const name of fs.readdirSync(folder).filter((n) => /^w-\d+\.js$/.test(n))) {
    const data = fs.readFileSync(path.join(folder, name), 'utf8');
    for (const line of data.slice(data.indexOf('"') + 1, data.lastIndexOf('"')).split('\\n')) {
      const [word, list] = line.split(' ');
      if (word && word.length > 3) counts.push([word, list.split(',').length]);
    }
  }
  return counts.sort((a, b) => b[1] - a[1]);
}

async function timeWord(page, word) {
  return page.evaluate(async (typed) => {
    const field = document.getElementById('search');
    const status = document.getElementById('search-status');
    const start = performance.now();
    field.value = typed;
    field.dispatchEvent(new Event('input'));
    while (status.dataset.query !== typed) await new Promise((resolve) => setTimeout(resolve, 1));
    // The rows are shown once the browser has drawn them.
    await new Promise((resolve) => requestAnimationFrame(() => resolve()));
    return { ms: performance.now() - start, status: status.textContent };
  }, word);
}

async function main() {
  const site = path.resolve(process.argv[2]);
  const counts = wordsOf(site);
  const documents = Number(/"documents": (\d+)/.exec(fs.readFileSync(path.join(site, 'search', 'index.js'), 'utf8'))[1]);
  const pick = (share) => counts.find(([, n]) => n <= Math.max(1, documents * share)) || counts[counts.length - 1];
  const chosen = [counts[0], pick(0.01), pick(0)];
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--headless=new'] });
  try {
    let page = await browser.newPage();
    await page.goto('about:blank');
    await page.close();
    page = await browser.newPage();
    await page.goto(pathToFileURL(path.join(site, 'index.html')).href, { waitUntil: 'load', timeout: 0 });
    const open = await page.evaluate(() => ({
      rows: document.querySelectorAll('tbody tr').length,
      shown: performance.getEntriesByType('paint').map((p) => p.startTime)[0],
      loaded: performance.getEntriesByType('navigation')[0].loadEventEnd,
    }));
    console.log(`${documents} documents: index of ${open.rows} rows first drawn after ${open.shown.toFixed(0)} ms, ` +
      `loaded after ${open.loaded.toFixed(0)} ms`);
    await page.close();
    for (const [word, holding] of chosen) {
      page = await browser.newPage();
      await page.goto(pathToFileURL(path.join(site, 'index.html')).href, { waitUntil: 'load', timeout: 0 });
      const cold = await timeWord(page, word);
      await timeWord(page, '');
      const warm = await timeWord(page, word);
      console.log(`  "${word}" (${holding} documents): first results ${cold.ms.toFixed(0)} ms, ` +
        `again ${warm.ms.toFixed(0)} ms: ${cold.status}`);
      await page.close();
    }
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
