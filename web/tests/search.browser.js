// The search field of an archive's index in Debian's Chromium, opened from
// the folder and from a web server: typed words that stand only in the
// bodies of some documents (never in a title or excerpt) leave exactly those
// rows, with umlauts typed without them and words hyphenated at a line's end
// typed whole; the passage marks the hit, the link carries it; and the index
// asks for nothing outside its folder.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const { pathToFileURL } = require('node:url');
const puppeteer = require('puppeteer-core');

const fa4tohtml = process.env.FA4TOHTML;

// A document file: head, the full line table, the line texts (code page 437).
function documentBytes(lines) {
  const head = 38;
  const table = Buffer.alloc(head + 11 * 10000);
  table.write('FA4TEXT\x1a', 0, 'latin1');
  const texts = [];
  let offset = table.length - head;
  lines.forEach((line, i) => {
    const bytes = Buffer.from(line, 'latin1');
    table.writeUInt16LE(bytes.length, head + 11 * i + 4);
    table.writeUInt32LE(offset, head + 11 * i + 6);
    texts.push(bytes);
    offset += bytes.length;
  });
  return Buffer.concat([table, ...texts]);
}

const end = '\xff\x01';
const filler = 'Die Firma dankt Ihnen vielmals f\x81r das freundliche Gespr\x84ch und die gute Zusammenarbeit ' +
  'in den vergangenen Jahren, wir freuen uns auf mehr.';
// Words only some bodies hold, far past the excerpt.
const special = {
  3: ['Zylinderkopfdichtung bestellt.' + end],
  7: ['Zylinderkopfdichtung und Gr\x81nkohl.' + end],
  12: ['eine Zylinderkopfdichtung' + end],
  5: ['Gr\x81nkohl zum Mittag' + end],
  9: ['Die An- ', 'gebotsfrist endet bald.' + end],
  11: ['mit der Stra\xe1enbahn' + end],
};

function makeArchive(root) {
  for (let n = 0; n < 16; ++n) {
    const lines = ['Fu\xe1zeile' + end, end, end, end, end, end, 'Musterfirma' + end, end, end, end, end, end];
    lines.push('Schreiben ' + n + end, filler, filler + end, 'Weiteres folgt.' + end);
    lines.push(...(special[n] || ['Nichts Besonderes.' + end]));
    const folder = path.join(root, n % 2 ? 'briefe' : 'berichte');
    fs.mkdirSync(folder, { recursive: true });
    fs.writeFileSync(path.join(folder, 'DOK' + n + '.TXT'), documentBytes(lines));
  }
}

function serve(folder, requests) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    requests.push(name);
    const file = path.join(folder, path.normalize(name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    const type = file.endsWith('.html') ? 'text/html; charset=utf-8' : 'text/javascript; charset=utf-8';
    response.writeHead(200, { 'Content-Type': type }).end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function shownFor(page, words) {
  await page.$eval('#search', (field) => { field.value = ''; });
  await page.type('#search', words);
  await page.waitForFunction((typed) => document.getElementById('search-status').dataset.query === typed, {}, words)
    .catch(async (error) => {
      throw new Error(await page.$eval('#search-status', (s) => s.textContent + ' ' + s.dataset.query), { cause: error });
    });
  // The passages of the rows shown are filled in as their texts arrive.
  await page.waitForFunction(() => Array.from(document.querySelectorAll('tbody tr:not([hidden]) td.excerpt'))
    .every((cell) => cell.querySelector('mark')));
  return page.$$eval('tbody tr:not([hidden])', (rows) => rows.map((row) => ({
    name: row.querySelector('th').textContent,
    passage: row.querySelector('td.excerpt').textContent,
    marked: Array.from(row.querySelectorAll('mark')).map((mark) => mark.textContent),
    href: row.querySelector('a').getAttribute('href'),
  })));
}

async function checkSearch(page) {
  let rows = await shownFor(page, 'zylinderkopfdichtung');
  assert.deepStrictEqual(rows.map((row) => row.name).sort(), ['DOK12.TXT', 'DOK3.TXT', 'DOK7.TXT']);
  assert.ok(rows.every((row) => row.marked.includes('Zylinderkopfdichtung')), JSON.stringify(rows));
  assert.ok(rows.every((row) => row.href.endsWith('.html#:~:text=Zylinderkopfdichtung')), rows[0].href);
  rows = await shownFor(page, 'GRUNKOHL');
  assert.deepStrictEqual(rows.map((row) => row.name).sort(), ['DOK5.TXT', 'DOK7.TXT']);
  assert.ok(rows[0].passage.includes('Grünkohl'));
  rows = await shownFor(page, 'grünkohl zylinder');
  assert.deepStrictEqual(rows.map((row) => row.name), ['DOK7.TXT']);
  rows = await shownFor(page, 'Angebotsfrist');
  assert.deepStrictEqual(rows.map((row) => row.name), ['DOK9.TXT']);
  assert.deepStrictEqual(rows[0].marked, ['Angebotsfrist']);
  rows = await shownFor(page, 'strasse');
  assert.deepStrictEqual(rows.map((row) => row.name), ['DOK11.TXT']);
  // A folder without a match is hidden; clearing the field shows everything.
  assert.strictEqual(await page.$eval('section:last-of-type', (s) => s.hidden), false);
  await page.$eval('#search', (field) => { field.value = ''; field.dispatchEvent(new Event('input')); });
  await page.waitForFunction(() => document.querySelectorAll('tbody tr:not([hidden])').length === 16);
  assert.ok(!(await page.$eval('tbody', (body) => body.innerHTML.includes('<mark'))));
  // A single letter filters nothing: it would load the words of every pair.
  await page.type('#search', 'z');
  await page.waitForFunction(() => /two letters/.test(document.getElementById('search-status').textContent));
  assert.strictEqual(await page.$$eval('tbody tr:not([hidden])', (rows) => rows.length), 16);
}

test('the index finds documents by the words of their bodies', { skip: !fa4tohtml && 'FA4TOHTML is not set' },
  async () => {
    const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvex-search-'));
    const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium',
      args: ['--no-sandbox', '--headless=new'] });
    try {
      makeArchive(path.join(work, 'tree'));
      const out = path.join(work, 'out');
      execFileSync(fa4tohtml, ['-r', '-d', out, path.join(work, 'tree')], { stdio: 'pipe' });
      const index = fs.readFileSync(path.join(out, 'index.html'), 'utf8');
      for (const word of ['Zylinder', 'Gr\u00fcnkohl', 'gebotsfrist', 'Stra\u00dfenbahn'])
        assert.ok(!index.includes(word), word + ' stands in the index itself');

      const page = await browser.newPage();
      const problems = [];
      page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
      page.on('pageerror', (error) => problems.push(error.message));
      const requests = [];
      page.on('request', (request) => requests.push(request.url()));
      await page.goto(pathToFileURL(path.join(out, 'index.html')).href);
      await checkSearch(page);
      const inside = pathToFileURL(out).href + '/';
      assert.deepStrictEqual(requests.filter((url) => !url.startsWith(inside)), []);
      assert.deepStrictEqual(problems, []);

      const served = [];
      const server = await serve(out, served);
      try {
        const web = await browser.newPage();
        const asked = [];
        web.on('request', (request) => asked.push(request.url()));
        const origin = 'http://127.0.0.1:' + server.address().port + '/';
        await web.goto(origin + 'index.html');
        await checkSearch(web);
        assert.deepStrictEqual(asked.filter((url) => !url.startsWith(origin)), []);
      } finally {
        server.close();
      }
    } finally {
      await browser.close();
      fs.rmSync(work, { recursive: true, force: true });
    }
  });
