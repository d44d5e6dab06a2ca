// The built page in Debian's Chromium, opened from the folder and from a web
// server: a chosen sample shows in the preview frame, which runs no
// scripts; "Save" and "Save all" download the native converter's bytes; and
// the page asks for nothing but its own files. Names a zip cannot hold as
// they are, HTML too large for the preview and files that can no longer be
// read.
'use strict';
process.env.TZ = 'UTC';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const puppeteer = require('puppeteer-core');
const { unzipSync } = require('fflate');
const support = require('./support.js');

const site = path.resolve(process.env.FA4TOHTML_SITE || path.join(support.root, 'build-web', 'site'));
const sample = path.join(support.root, 'examples', 'brief.fa4');

function serveSite(requests) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1) || 'index.html';
    requests.push(name);
    const file = path.join(site, path.basename(name));
    if (path.basename(name) !== name || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    const type = name.endsWith('.html') ? 'text/html' : name.endsWith('.css') ? 'text/css' : 'text/javascript';
    response.writeHead(200, { 'Content-Type': type }).end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Downloads as the browser reports them: a file is read only once the
// browser says it is complete, never while it is still being written.
function watchDownloads(session, folder) {
  const names = new Map(); // guid -> suggested file name
  const completed = new Map(); // file name -> resolve, or true once done
  session.on('Browser.downloadWillBegin', (event) => names.set(event.guid, event.suggestedFilename));
  session.on('Browser.downloadProgress', (event) => {
    if (event.state !== 'completed') return;
    const name = names.get(event.guid);
    const waiting = completed.get(name);
    completed.set(name, true);
    if (typeof waiting === 'function') waiting();
  });
  return async function waitForDownload(name) {
    if (completed.get(name) !== true) {
      await new Promise((resolve, reject) => {
        completed.set(name, resolve);
        setTimeout(() => reject(new Error(name + ' was not downloaded')), 10000);
      });
    }
    const file = path.join(folder, name);
    completed.delete(name);
    return fs.readFileSync(file);
  };
}

async function openPage(browser, url, downloads) {
  const page = await browser.newPage();
  const requested = [];
  page.on('request', (request) => requested.push(request.url()));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, eventsEnabled: true });
  const waitForDownload = watchDownloads(session, downloads);
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForSelector('body[data-ready="true"]', { timeout: 10000 });
  return { page, requested, waitForDownload };
}

async function checkPage(t, browser, url, folder) {
  const downloads = fs.mkdtempSync(path.join(folder, 'downloads-'));
  const { page, requested, waitForDownload } = await openPage(browser, url, downloads);
  const converter = await support.loadConverter();
  const bytes = fs.readFileSync(sample);

  await (await page.$('#documents')).uploadFile(sample);
  await page.waitForSelector('#list button[aria-current="true"]');
  const frameElement = await page.$('#preview');
  assert.strictEqual(await frameElement.evaluate((frame) => frame.getAttribute('sandbox')), '');
  const frame = await frameElement.contentFrame();
  const title = converter.documentFacts(new Uint8Array(bytes)).title;
  assert.ok(title.length > 0);
  await frame.waitForFunction((text) => document.body && document.body.innerText.includes(text), { timeout: 5000 }, title);

  await page.click('#save');
  const saved = await waitForDownload('brief.fa4.html');
  assert.ok(saved.equals(support.runNative(['-o', '-', sample]).stdout), 'Save wrote other bytes than fa4tohtml');

  // A folder of documents and other files, zipped with its tree and index.
  const tree = path.join(folder, 'archive');
  if (!fs.existsSync(tree)) {
    for (const name of ['brief.fa4', 'sub/bericht.fa4', 'sub/deeper/notiz.fa4'])
      fs.mkdirSync(path.dirname(path.join(tree, name)), { recursive: true });
    fs.copyFileSync(sample, path.join(tree, 'brief.fa4'));
    fs.copyFileSync(path.join(support.root, 'examples', 'bericht.fa4'), path.join(tree, 'sub', 'bericht.fa4'));
    fs.copyFileSync(path.join(support.root, 'examples', 'notiz.fa4'), path.join(tree, 'sub', 'deeper', 'notiz.fa4'));
    fs.writeFileSync(path.join(tree, 'sub', 'readme.txt'), 'no document');
  }
  await (await page.$('#folder')).uploadFile(tree);
  await page.waitForFunction(() => document.querySelectorAll('#list button').length === 3);
  // The chosen documents are searched as the index searches: "muller"
  // finds "Müller", "angebot" the word hyphenated at a line's end.
  const listed = () => page.$$eval('#list li:not([hidden])', (items) => items.map((item) => ({
    path: item.querySelector('button').firstChild.textContent,
    marked: Array.from(item.querySelectorAll('mark')).map((mark) => mark.textContent),
  })));
  await page.type('#search', 'muller angebot');
  const found = await listed();
  assert.deepStrictEqual(found.map((item) => item.path), ['brief.fa4']);
  assert.strictEqual(found[0].marked[0], 'Müller');
  await page.$eval('#search', (field) => { field.value = 'umsatz'; field.dispatchEvent(new Event('input')); });
  assert.deepStrictEqual((await listed()).map((item) => item.path), ['sub/bericht.fa4']);
  await page.$eval('#search', (field) => { field.value = ''; field.dispatchEvent(new Event('input')); });
  assert.strictEqual((await listed()).length, 3);
  await page.click('#save-all');
  const zip = unzipSync(new Uint8Array(await waitForDownload('archive.zip')));
  const out = fs.mkdtempSync(path.join(folder, 'out-'));
  support.runNative(['-r', '-d', out, 'archive'], folder);
  support.assertSameTree(zip, out);
  for (const name of ['index.html', 'brief.fa4.html', 'sub/bericht.fa4.html', 'sub/deeper/notiz.fa4.html'])
    assert.ok(zip[name], name + ' is missing in the zip');

  // The policy forbids connections, also to the page's own files.
  const fetched = await page.evaluate(() => fetch('index.html').then(() => 'fetched', () => 'refused'));
  assert.strictEqual(fetched, 'refused');
  await page.close();
  return requested;
}

// A temporary folder and a browser whose profile lies in it; the browser is
// closed before the folder is removed, which it writes into until then.
async function browserIn(t) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'fa4web-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--user-data-dir=' + path.join(folder, 'profile')],
  });
  t.after(async () => {
    await browser.close();
    fs.rmSync(folder, { recursive: true, force: true });
  });
  return { folder, browser };
}

test('the page converts, previews and saves in Chromium', async (t) => {
  const { folder, browser } = await browserIn(t);
  const own = ['index.html', 'page.css', 'fflate.js', 'archive.js', 'fa4tohtml.js', 'search-text.js', 'page.js'];

  await t.test('opened from the folder', async () => {
    const requested = await checkPage(t, browser, pathToFileURL(path.join(site, 'index.html')).href, folder);
    const files = requested.filter((url) => !url.startsWith('data:') && !url.startsWith('blob:'));
    assert.deepStrictEqual(files.map((url) => path.basename(new URL(url).pathname)).sort(), [...own].sort());
  });

  await t.test('from a web server, which is asked for the page own files only', async () => {
    const served = [];
    const server = await serveSite(served);
    t.after(() => server.close());
    const url = `http://127.0.0.1:${server.address().port}/index.html`;
    const requested = await checkPage(t, browser, url, folder);
    assert.deepStrictEqual([...served].sort(), [...own].sort());
    assert.ok(requested.every((seen) => seen.startsWith(`http://127.0.0.1:${server.address().port}/`) || seen.startsWith('data:') || seen.startsWith('blob:')), requested.join(' '));
  });
});

// The zip "Save all" downloads for `tree`, unpacked; its entries are safe.
async function saveFolder(page, waitForDownload, tree, count) {
  await (await page.$('#folder')).uploadFile(tree);
  await page.waitForFunction((n) => document.querySelectorAll('#list button').length === n, {}, count);
  await page.click('#save-all');
  const zip = unzipSync(new Uint8Array(await waitForDownload(path.basename(tree) + '.zip')));
  support.assertSafeEntries(Object.keys(zip));
  return zip;
}

test('the page in Chromium with hostile names, large HTML and files gone', async (t) => {
  const { folder, browser } = await browserIn(t);
  const url = pathToFileURL(path.join(site, 'index.html')).href;
  const downloads = fs.mkdtempSync(path.join(folder, 'downloads-'));
  const { page, waitForDownload } = await openPage(browser, url, downloads);
  const document = (text) => support.buildDocument([...Array(12).fill('x'), text]);

  await t.test('names a zip cannot hold as they are stay inside it and apart', async () => {
    // Chromium hands '\\' to the page as '/'.
    const tree = path.join(folder, 'hostile', 'tree');
    const written = path.join(folder, 'written', 'tree');
    const names = {
      '..\\..\\..\\evil.fa4': 'evil.fa4~2', 'evil.fa4': 'evil.fa4', '\\abs.fa4': 'abs.fa4',
      'C:\\Windows\\x.fa4': 'Windows/x.fa4', 'a.fa4': 'a.fa4~2', 'A.fa4': 'A.fa4', 'Sub/x.fa4': 'Sub/x.fa4',
      'sub/y.fa4': 'sub~2/y.fa4', 'Index': 'Index~2',
    };
    for (const name of Object.keys(names)) {
      fs.mkdirSync(path.dirname(path.join(tree, name)), { recursive: true });
      fs.writeFileSync(path.join(tree, name), document(name));
    }
    support.copyAsWritten(tree, written, names);
    const zip = await saveFolder(page, waitForDownload, tree, Object.keys(names).length);
    const out = fs.mkdtempSync(path.join(folder, 'out-'));
    support.runNative(['-r', '-d', out, 'tree'], path.dirname(written));
    support.assertSameTree(zip, out);
  });

  await t.test('a document whose HTML is too large to show is still saved', async () => {
    // Nine thousand body lines show one text of a thousand characters.
    const file = support.buildDocument([...Array(12).fill('x'), 'Zeile '.repeat(170)]);
    for (let line = 13; line < 9000; ++line) file.copy(file, 38 + 11 * line, 38 + 11 * 12, 38 + 11 * 13);
    const large = path.join(folder, 'large.fa4');
    fs.writeFileSync(large, file);
    await (await page.$('#documents')).uploadFile(large);
    await page.waitForFunction(() => !document.querySelector('#preview-note').hidden, { timeout: 20000 });
    const note = await page.$eval('#preview-note', (element) => element.textContent);
    assert.match(note, /large\.fa4 is [0-9.]+ MB, more than the preview shows \(8\.0 MB\)/);
    assert.strictEqual(await page.$eval('#preview', (frame) => frame.srcdoc), '');
    await page.click('#save');
    const saved = await waitForDownload('large.fa4.html');
    assert.ok(saved.length > 8 * 1024 * 1024);
    assert.ok(saved.equals(support.runNative(['-o', '-', large]).stdout), 'Save wrote other bytes than fa4tohtml');
  });

  await t.test('a document changed after it was chosen is listed with the reason', async () => {
    const tree = path.join(folder, 'changing');
    fs.mkdirSync(tree);
    fs.writeFileSync(path.join(tree, 'stays.fa4'), document('stays'));
    fs.writeFileSync(path.join(tree, 'changes.fa4'), document('changes'));
    await (await page.$('#folder')).uploadFile(tree);
    await page.waitForFunction(() => document.querySelectorAll('#list button').length === 2);
    fs.writeFileSync(path.join(tree, 'changes.fa4'), document('changed since'));
    await page.click('#save-all');
    const zip = unzipSync(new Uint8Array(await waitForDownload('changing.zip')));
    assert.deepStrictEqual(Object.keys(zip).filter((name) => !name.startsWith('search/')).sort(), ['index.html', 'stays.fa4.html']);
    assert.match(Buffer.from(zip['index.html']).toString(), /changes\.fa4<\/th><td class="failed">Not converted: Cannot read file: /);
  });
  await page.close();
});
