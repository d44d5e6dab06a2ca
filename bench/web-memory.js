// How much memory the whole browser takes while the built page lists a
// folder of 15 documents whose HTML is 48 MB each and then saves all of them
// as a zip, in Debian's Chromium (goal: under 1.5 GB at every moment).
// Memory is the sum over the browser's processes of their resident set
// (RSS) and of their proportional set (PSS, shared pages split among the
// processes that share them), sampled every 50 ms.
//
//   node bench/web-memory.js [DOCUMENTS]     (after scripts/build-web.sh and npm ci in web/;
//                                              FA4TOHTML_SITE names another built site)
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const root = path.resolve(__dirname, '..');
const puppeteer = require(path.join(root, 'web', 'node_modules', 'puppeteer-core'));
const { buildDocument } = require(path.join(root, 'web', 'tests', 'support.js'));

// 9990 lines, each showing one of a hundred texts of 4800 letters: 590 KB
// of document, 48 MB of HTML.
function largeDocument(seed) {
  const texts = [];
  for (let i = 0; i < 100; ++i) texts.push('a'.repeat(4799) + String.fromCharCode(65 + ((i + seed) % 26)));
  const file = buildDocument([...Array(12).fill('x'), ...texts]);
  for (let line = 112; line < 9990; ++line) {
    const source = 12 + (line % 100);
    file.copy(file, 38 + 11 * line, 38 + 11 * source, 38 + 11 * (source + 1));
  }
  return file;
}

function descendants(pid) {
  const children = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const parent = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(entry));
    } catch (error) {
      // gone meanwhile
    }
  }
  const all = [pid];
  for (let i = 0; i < all.length; ++i) all.push(...(children.get(all[i]) || []));
  return all;
}

// Kilobytes of resident and proportional memory of `pid` and its children.
function memoryOf(pid) {
  let rss = 0;
  let pss = 0;
  for (const process of descendants(pid)) {
    try {
      const rollup = fs.readFileSync(`/proc/${process}/smaps_rollup`, 'utf8');
      rss += Number(/^Rss:\s+(\d+)/m.exec(rollup)[1]);
      pss += Number(/^Pss:\s+(\d+)/m.exec(rollup)[1]);
    } catch (error) {
      // gone meanwhile
    }
  }
  return { rss, pss };
}

function megabytes(kilobytes) {
  return (kilobytes / 1024).toFixed(0) + ' MB';
}

async function main(count) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'fa4web-memory-'));
  const folder = path.join(work, 'large');
  fs.mkdirSync(folder);
  for (let i = 0; i < count; ++i) fs.writeFileSync(path.join(folder, `doc${String(i).padStart(2, '0')}.fa4`), largeDocument(i));
  const downloads = path.join(work, 'downloads');
  fs.mkdirSync(downloads);
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--user-data-dir=' + path.join(work, 'profile')],
  });
  const pid = browser.process().pid;
  let peak = { rss: 0, pss: 0 };
  const sampler = setInterval(() => {
    const now = memoryOf(pid);
    peak = { rss: Math.max(peak.rss, now.rss), pss: Math.max(peak.pss, now.pss) };
  }, 50);
  const phase = async (name, action) => {
    peak = memoryOf(pid);
    const start = Date.now();
    await action();
    const seconds = ((Date.now() - start) / 1000).toFixed(1);
    console.log(`${name}: ${seconds} s, peak RSS sum ${megabytes(peak.rss)}, peak PSS sum ${megabytes(peak.pss)}`);
  };
  try {
    const page = await browser.newPage();
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, eventsEnabled: true });
    const saved = new Promise((resolve) =>
      session.on('Browser.downloadProgress', (event) => event.state === 'completed' && resolve()));
    const site = process.env.FA4TOHTML_SITE || path.join(root, 'build-web', 'site');
    await page.goto(pathToFileURL(path.join(site, 'index.html')).href);
    await page.waitForSelector('body[data-ready="true"]');
    console.log(`${count} documents of ${fs.statSync(path.join(folder, 'doc00.fa4')).size} bytes; page loaded: RSS sum ${megabytes(memoryOf(pid).rss)}`);
    await phase('listed and the first previewed', async () => {
      await (await page.$('#folder')).uploadFile(folder);
      // Listed, and the preview shows the document or says why not.
      await page.waitForFunction((n) => {
        const note = document.querySelector('#preview-note');
        return document.querySelectorAll('#list button').length === n &&
          (note ? !note.hidden : document.querySelector('#preview').srcdoc.length > 0);
      }, { timeout: 600000, polling: 200 }, count);
      await new Promise((resolve) => setTimeout(resolve, 2000));
    });
    const note = await page.$('#preview-note');
    if (note) console.log('  preview: ' + (await note.evaluate((element) => element.textContent)));
    await phase('Save all', async () => {
      await page.click('#save-all');
      await saved;
    });
    console.log('  ' + (await page.$eval('#status', (status) => status.textContent)) + ' zip: ' +
      fs.statSync(path.join(downloads, 'large.zip')).size + ' bytes');
  } finally {
    clearInterval(sampler);
    await browser.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
}

main(Number(process.argv[2] || 15)).catch((error) => {
  console.error(error);
  process.exit(1);
});
