// "Save all" against `fa4tohtml -r -d`: the same tree of HTML files and the
// same index, for a folder (only its documents, in path order) and for
// documents chosen one by one.
'use strict';
process.env.TZ = 'UTC';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const support = require('./support.js');
const archive = require('../archive.js');

const sample = (name) => fs.readFileSync(path.join(support.root, 'examples', name));

function writeTree(folder) {
  const random = new support.RandomDocuments(7);
  const files = {
    'b.fa4': sample('brief.fa4'),
    'A/x.fa4': sample('bericht.fa4'),
    'A/notes.txt': Buffer.from('not a document\n'),
    'a-b/\u00fcber.fa4': sample('notiz.fa4'),
    'a/c': random.document(),
    'a/d/e.fa4': random.document(),
    '.hidden/f.fa4': sample('notiz.fa4'),
    // A table whose left edge meets a line too short to hold it.
    'damaged.fa4': support.buildDocument([...Array(12).fill('x'), 'ab\xDA\xC4\xBF', 'x']),
    'short.fa4': sample('brief.fa4').subarray(0, 5000),
  };
  let time = 700000000;
  for (const [name, bytes] of Object.entries(files)) {
    const file = path.join(folder, name);
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, bytes);
    fs.utimesSync(file, time, time);
    time += 86399;
  }
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

function item(folder, name) {
  const file = path.join(folder, name);
  return { path: name, bytes: new Uint8Array(fs.readFileSync(file)), lastModified: fs.statSync(file).mtimeMs };
}

function assertSameTree(zipFiles, out) {
  const native = filesBelow(out).filter((name) => name !== '.fa4tohtml-cache').sort();
  assert.deepStrictEqual(Object.keys(zipFiles).sort(), native);
  for (const name of native)
    assert.ok(Buffer.from(zipFiles[name]).equals(fs.readFileSync(path.join(out, name))), name + ' differs');
}

test('Save all writes what fa4tohtml -r -d writes', async (t) => {
  const converter = await support.loadConverter();
  const folder = support.tempFolder(t);
  writeTree(path.join(folder, 'tree'));

  for (const [mode, args, options] of [['default', [], {}], ['classic', ['--classic'], { classic: true }]]) {
    await t.test('a folder, ' + mode, async () => {
      const out = fs.mkdtempSync(path.join(folder, 'out-'));
      const run = support.runNative([...args, '-r', '-d', out, 'tree'], folder);
      assert.strictEqual(run.status, 1, run.stderr);
      const tree = path.join(folder, 'tree');
      const candidates = filesBelow(tree).map((name) => {
        const bytes = fs.readFileSync(path.join(tree, name));
        return { path: name, size: bytes.length, head: async (count) => new Uint8Array(bytes.subarray(0, count)) };
      });
      const documents = await archive.findDocuments(converter, candidates);
      const items = documents.map((document) => item(tree, document.path));
      assertSameTree(archive.archiveFiles(converter, 'tree', items, options), out);
    });
  }

  await t.test('documents chosen one by one, a file that is no document among them', () => {
    const out = fs.mkdtempSync(path.join(folder, 'out-'));
    const names = ['damaged.fa4', 'b.fa4', 'notes.txt'];
    for (const name of names) fs.copyFileSync(path.join(folder, 'tree', name === 'notes.txt' ? 'A/notes.txt' : name), path.join(folder, name));
    support.runNative(['-r', '-d', out, ...names], folder);
    const items = names.map((name) => item(folder, name));
    assertSameTree(archive.archiveFiles(converter, names.join(', '), items, {}), out);
  });
});

test('outputs that would overwrite each other are refused', () => {
  assert.deepStrictEqual(archive.conflicts(['a', 'x/a', 'b']), []);
  assert.strictEqual(archive.conflicts(['D.fa4', 'D.fa4']).length, 1);
  assert.match(archive.conflicts(['index'])[0], /index/);
});

test('paths sort as the folder walk lists them', () => {
  const paths = ['a/b', 'a-b', 'B', 'a.c', '\u00e4', 'a/a/z', 'b'];
  assert.deepStrictEqual(paths.sort(archive.comparePaths), ['B', 'a/a/z', 'a/b', 'a-b', 'a.c', 'b', '\u00e4']);
});
