// "Save all" against `fa4tohtml -r -d`: the same tree of HTML files and the
// same index, for a folder (only its documents, in path order) and for
// documents chosen one by one; for names a zip cannot hold as they are, the
// same as for the folder under the names the zip gives them.
'use strict';
process.env.TZ = 'UTC';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const fflate = require('fflate');
const support = require('./support.js');
const archive = require('../archive.js');

const sample = (name) => fs.readFileSync(path.join(support.root, 'examples', name));

function writeTree(folder, files) {
  let time = 700000000;
  for (const [name, bytes] of Object.entries(files)) {
    const file = path.join(folder, name);
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, bytes);
    fs.utimesSync(file, time, time);
    time += 86399;
  }
}

function sampleTree() {
  const random = new support.RandomDocuments(7);
  return {
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
}

// The zip "Save all" writes, unpacked.
async function saveAll(converter, name, files, options) {
  const zip = await archive.writeArchive(converter, fflate, name, files, options);
  assert.ok(zip.chunks, String(zip.conflicts));
  const unzipped = fflate.unzipSync(new Uint8Array(Buffer.concat(zip.chunks)));
  support.assertSafeEntries(Object.keys(unzipped));
  return unzipped;
}

// The folder's files as a folder of the page gives them: Chromium turns
// '\' into '/'.
async function folderFiles(converter, tree) {
  const files = support.filesBelow(tree).map((name) => support.archiveFile(tree, name, name.replaceAll('\\', '/')));
  return archive.findDocuments(converter, files);
}

// `names` (below `tree`) under the names the zip gives them; the others
// keep theirs.
function writtenAs(folder, tree, names) {
  const written = path.join(fs.mkdtempSync(path.join(folder, 'written-')), path.basename(tree));
  const all = Object.fromEntries(support.filesBelow(tree).map((name) => [name, names[name] || name]));
  support.copyAsWritten(tree, written, all);
  return written;
}

test('Save all writes what fa4tohtml -r -d writes', async (t) => {
  const converter = await support.loadConverter();
  const folder = support.tempFolder(t);
  const tree = path.join(folder, 'tree');
  writeTree(tree, sampleTree());
  // Folders whose names differ only in case are made distinct.
  const written = writtenAs(folder, tree, { 'a/c': 'a~2/c', 'a/d/e.fa4': 'a~2/d/e.fa4' });

  for (const [mode, args, options] of [['default', [], {}], ['classic', ['--classic'], { classic: true }]]) {
    await t.test('a folder, ' + mode, async () => {
      const out = fs.mkdtempSync(path.join(folder, 'out-'));
      const run = support.runNative([...args, '-r', '-d', out, 'tree'], path.dirname(written));
      // Only the classic output fails on the boxes that cannot be read as tables.
      assert.strictEqual(run.status, mode === 'classic' ? 1 : 0, run.stderr);
      const documents = await folderFiles(converter, tree);
      support.assertSameTree(await saveAll(converter, 'tree', documents, options), out);
    });
  }

  await t.test('documents chosen one by one, a file that is no document among them', async () => {
    const out = fs.mkdtempSync(path.join(folder, 'out-'));
    const names = ['damaged.fa4', 'b.fa4', 'notes.txt'];
    for (const name of names) fs.copyFileSync(path.join(tree, name === 'notes.txt' ? 'A/notes.txt' : name), path.join(folder, name));
    support.runNative(['-r', '-d', out, ...names], folder);
    const files = names.map((name) => support.archiveFile(folder, name));
    support.assertSameTree(await saveAll(converter, names.join(', '), files, {}), out);
  });
});

test('names a zip cannot hold as they are stay inside it and apart', async (t) => {
  const converter = await support.loadConverter();
  const folder = support.tempFolder(t);
  const tree = path.join(folder, 'tree');
  const names = ['..\\..\\..\\evil.fa4', 'evil.fa4', '\\abs.fa4', 'C:\\Windows\\x.fa4', 'a.fa4', 'A.fa4',
    'Sub/x.fa4', 'sub/y.fa4', 'Index'];
  writeTree(tree, Object.fromEntries(names.map((name) => [name, support.buildDocument([...Array(12).fill('x'), name])])));
  const written = writtenAs(folder, tree, {
    '..\\..\\..\\evil.fa4': 'evil.fa4~2', '\\abs.fa4': 'abs.fa4', 'C:\\Windows\\x.fa4': 'Windows/x.fa4',
    'a.fa4': 'a.fa4~2', 'sub/y.fa4': 'sub~2/y.fa4', 'Index': 'Index~2',
  });
  const out = fs.mkdtempSync(path.join(folder, 'out-'));
  support.runNative(['-r', '-d', out, 'tree'], path.dirname(written));
  support.assertSameTree(await saveAll(converter, 'tree', await folderFiles(converter, tree), {}), out);
});

test('a file that cannot be read is listed with the reason', async (t) => {
  const converter = await support.loadConverter();
  const folder = support.tempFolder(t);
  fs.writeFileSync(path.join(folder, 'b.fa4'), sample('brief.fa4'));
  const gone = { ...support.archiveFile(folder, 'b.fa4', 'gone.fa4'), read: async () => { throw new Error('it is gone'); } };
  const documents = await archive.findDocuments(converter, [support.archiveFile(folder, 'b.fa4'), gone]);
  assert.deepStrictEqual(documents.map((file) => [file.path, file.failure]),
    [['b.fa4', undefined], ['gone.fa4', 'Cannot read file: it is gone']]);
  const zip = await saveAll(converter, 'folder', documents, {});
  assert.deepStrictEqual(Object.keys(zip).filter((name) => !name.startsWith('search/')).sort(), ['b.fa4.html', 'index.html']);
  assert.match(Buffer.from(zip['index.html']).toString(), /gone\.fa4<\/th><td class="failed">Not converted: Cannot read file: it is gone</);
});

test('outputs that would overwrite each other are refused', async () => {
  const converter = await support.loadConverter();
  const conflicts = (paths) => converter.archivePlan(paths).conflicts;
  assert.deepStrictEqual(conflicts(['a', 'x/a', 'b']), []);
  assert.strictEqual(conflicts(['D.fa4', 'D.fa4']).length, 1);
  assert.match(conflicts(['index'])[0], /index/);
  const never = { path: 'index', size: 0, lastModified: 0, read: async () => assert.fail('read') };
  assert.deepStrictEqual(await archive.writeArchive(converter, fflate, 'x', [never], {}),
    { conflicts: ['index and the index would both be written to index.html'] });
});

test('paths sort as the folder walk lists them', async () => {
  const converter = await support.loadConverter();
  const paths = ['a/b', 'a-b', 'B', 'a.c', '\u00e4', 'a/a/z', 'b'];
  assert.deepStrictEqual(converter.walkOrder(paths).map((i) => paths[i]), ['B', 'a/a/z', 'a/b', 'a-b', 'a.c', 'b', '\u00e4']);
});
