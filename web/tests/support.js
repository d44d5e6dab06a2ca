// What the Node tests share: the module and the native converter they
// compare, temporary folders, and documents built byte by byte.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const assert = require('node:assert');
const path = require('node:path');
const { spawnSync } = require('node:child_process');

const root = path.resolve(__dirname, '..', '..');
const modulePath = path.resolve(process.env.FA4TOHTML_JS || path.join(root, 'build-web', 'site', 'fa4tohtml.js'));
const nativePath = path.resolve(process.env.FA4TOHTML || path.join(root, 'build', 'cli', 'fa4tohtml'));

let converter = null;
async function loadConverter() {
  if (!converter) converter = await require(modulePath)();
  return converter;
}

function tempFolder(t) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'fa4web-'));
  t.after(() => fs.rmSync(folder, { recursive: true, force: true }));
  return folder;
}

// Runs the native converter; dates in UTC, as the tests set for the module.
function runNative(args, cwd) {
  const run = spawnSync(nativePath, args, { cwd, env: { ...process.env, TZ: 'UTC' }, maxBuffer: 1 << 28 });
  if (run.error) throw run.error;
  return { status: run.status, stdout: run.stdout, stderr: run.stderr.toString('latin1') };
}

// A file as the page's archive code reads it, by `pageName` as the page names it.
function archiveFile(folder, name, pageName = name) {
  const file = path.join(folder, name);
  const info = fs.statSync(file);
  return {
    path: pageName,
    size: info.size,
    lastModified: info.mtimeMs,
    read: async (count) => {
      const bytes = fs.readFileSync(file);
      return new Uint8Array(count === undefined ? bytes : bytes.subarray(0, count));
    },
  };
}

// Every file below `folder` by its path below it, in no particular order.
function filesBelow(folder, below = '') {
  const found = [];
  for (const entry of fs.readdirSync(path.join(folder, below), { withFileTypes: true })) {
    const name = below ? below + '/' + entry.name : entry.name;
    if (entry.isDirectory()) found.push(...filesBelow(folder, name));
    else found.push(name);
  }
  return found.reverse();
}

// The files of a zip are those `fa4tohtml -r -d` wrote into `out`, byte for
// byte.
function assertSameTree(zipFiles, out) {
  const native = filesBelow(out).filter((name) => name !== '.fa4tohtml-cache').sort();
  assert.deepStrictEqual(Object.keys(zipFiles).sort(), native);
  for (const name of native)
    assert.ok(Buffer.from(zipFiles[name]).equals(fs.readFileSync(path.join(out, name))), name + ' differs');
}

// Zip entries unpack inside the folder they are unpacked into, and no two
// of them are one file or folder where case is ignored.
function assertSafeEntries(names) {
  const spellings = new Map(); // folded path -> the path
  for (const name of names) {
    assert.ok(!name.includes('\\') && !/^[A-Za-z]:/.test(name), name);
    const segments = name.split('/');
    assert.ok(segments.every((segment) => segment !== '' && segment !== '.' && segment !== '..'), name);
    for (let i = 1; i <= segments.length; ++i) {
      const prefix = segments.slice(0, i).join('/') + (i === segments.length ? '' : '/');
      const folded = prefix.toLowerCase().replace(/\/$/, '');
      assert.strictEqual(spellings.get(folded) || prefix, prefix, name);
      spellings.set(folded, prefix);
    }
  }
}

// `from`'s documents copied into `to` under the names the zip gave them,
// with their times: the folder `fa4tohtml -r -d` gives the zip's tree for.
// `names` maps a path below `from` to one below `to`.
function copyAsWritten(from, to, names) {
  for (const [name, written] of Object.entries(names)) {
    const source = path.join(from, name);
    const target = path.join(to, written);
    fs.mkdirSync(path.dirname(target), { recursive: true });
    fs.copyFileSync(source, target);
    const info = fs.statSync(source);
    fs.utimesSync(target, info.atime, info.mtime);
  }
}

// A document: the 38-byte head, the full table of 10000 entries, the texts.
const HeadSize = 38;
const EntrySize = 11;
const TableEnd = HeadSize + EntrySize * 10000;

function putEntry(file, index, length, offset) {
  const at = HeadSize + EntrySize * index;
  file.writeUInt16LE(length, at + 4);
  file.writeUInt32LE(offset >>> 0, at + 6);
}

function buildDocument(lines) {
  const texts = lines.map((line) => Buffer.from(line, 'latin1'));
  const file = Buffer.alloc(TableEnd + texts.reduce((sum, text) => sum + text.length, 0));
  file.write('FA4TEXT\x1A', 0, 'latin1');
  let offset = TableEnd;
  texts.forEach((text, index) => {
    putEntry(file, index, text.length, offset - HeadSize);
    text.copy(file, offset);
    offset += text.length;
  });
  return file;
}

// Rings of box frames, each a table whose one cell holds the next ring: the
// HTML doubles with every ring.
function concentricBoxes(size) {
  const lines = [];
  for (let i = 0; i < size; ++i) {
    let line = '';
    for (let j = 0; j < size; ++j) {
      const ring = Math.min(i, j, size - 1 - i, size - 1 - j);
      let c = '\xB3';
      if (i === ring) c = j === ring ? '\xDA' : j === size - 1 - ring ? '\xBF' : '\xC4';
      else if (i === size - 1 - ring) c = j === ring ? '\xC0' : j === size - 1 - ring ? '\xD9' : '\xC4';
      line += c;
    }
    lines.push(line);
  }
  return lines;
}

// Random documents of text, control sequences, box frames and damage: the
// cases where a second build of the same code could go astray.
class RandomDocuments {
  constructor(seed) {
    this.state = seed >>> 0;
  }

  next() {
    // mulberry32
    this.state = (this.state + 0x6d2b79f5) >>> 0;
    let t = this.state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  }

  pick(first, last) {
    return first + Math.floor(this.next() * (last - first + 1));
  }

  chance(percent) {
    return this.pick(1, 100) <= percent;
  }

  token() {
    const tokens = ['a', 'b', 'z', 'A', 'Q', '\x81', '\x8E', '\xE1', '1', ' ', ' ', ' ', '  ', '-', '- ', '\xC4',
      '\xCD', '\xC4\xC4\xC4', '\xB3', '\xBA', '\xC2', '\xC3', '\xC5', '\xC0', '\xBF', '\xD9', '\xC1', '\xB4', '\xCB',
      '\xCC', '\xCE', '\xBB', '\xC8', '\xDA', '\xC9', '\xD5', '&', '<', '>', '"', '\x82', '\xB0', '\x09', '\x00',
      '\xFF\x01', '\xFF\x80', '\xFF\x90', '\xFF\x04', '\xFF\x82', '\xFF', '\xFF\x21\x05\x00', '\xFF\x21\x00\x00',
      '\xFF\x21\x03\x02', '\xFF\x22\x01\x01', '\xFF\x21\xC4\x00', '\xFF\x88', '\xFF\x98', '\xAE', '\xAF',
      'Lieferung ', 'plain text of some length, '];
    return tokens[this.pick(0, tokens.length - 1)];
  }

  line(tokens) {
    let line = '';
    for (let i = 0; i < tokens; ++i) line += this.token();
    if (this.chance(15)) line += '- ';
    return line;
  }

  grid(depth) {
    const columns = this.pick(1, 4);
    const rows = this.pick(1, 3);
    const widths = Array.from({ length: columns }, () => this.pick(1, 8));
    const rule = (left, middle, right) =>
      left + widths.map((width, c) => (this.chance(50) ? '\xC4' : '\xCD').repeat(width) + (c + 1 < columns ? middle : right)).join('');
    const lines = [rule('\xDA', '\xC2', '\xBF')];
    for (let r = 0; r < rows; ++r) {
      const height = this.pick(1, 3);
      const block = Array(height).fill('\xB3');
      for (const width of widths) {
        const cell = depth > 0 && this.chance(30) ? this.grid(depth - 1) : [];
        for (let k = 0; k < height; ++k) {
          let text = k < cell.length ? cell[k] : this.line(this.pick(0, 4));
          if (this.chance(85)) text = text.slice(0, width).padEnd(width, ' ');
          block[k] += text + (this.chance(90) ? '\xB3' : '\xC5');
        }
      }
      lines.push(...block);
      if (r + 1 < rows) lines.push(rule(this.chance(80) ? '\xC3' : '\xB3', this.chance(70) ? '\xC5' : '\xC1', '\xB4'));
    }
    if (this.chance(85)) lines.push(rule('\xC0', '\xC1', '\xD9'));
    return lines;
  }

  document() {
    const lines = [];
    const count = this.pick(1, 40);
    while (lines.length < count) {
      if (this.chance(15)) lines.push(...this.grid(this.pick(0, 2)));
      else lines.push(this.line(this.pick(0, this.chance(10) ? 300 : 40)));
    }
    let file = buildDocument(lines.slice(0, 10000));
    // Entries that point anywhere, and data that ends early.
    if (this.chance(10))
      for (let i = this.pick(1, 5); i > 0; --i)
        putEntry(file, this.pick(0, count + 2), this.pick(1, 300), this.pick(0, file.length + 50));
    if (this.chance(10)) file = file.subarray(0, this.pick(0, file.length));
    else if (this.chance(10)) file = file.subarray(0, file.length - (this.pick(0, 6) % (file.length + 1)));
    return file;
  }
}

module.exports = {
  root, modulePath, nativePath, loadConverter, tempFolder, runNative, buildDocument, concentricBoxes,
  RandomDocuments, archiveFile, filesBelow, assertSameTree, assertSafeEntries, copyAsWritten,
};
