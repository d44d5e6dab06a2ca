// convert() in Node against the native fa4tohtml: the same bytes for the
// samples and for random documents, in both output modes and with a
// preferences file, and the same message for a document that fails.
'use strict';
process.env.TZ = 'UTC';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const support = require('./support.js');

const samples = fs
  .readdirSync(path.join(support.root, 'examples'))
  .filter((name) => name.endsWith('.fa4'))
  .map((name) => path.join(support.root, 'examples', name));

// Line breaks of every kind and a NUL, as the window's "Load..." splits them.
const preferencesBytes = Buffer.from('<head>\r\n<style>\rp {color: red}\n</style>\0</head>', 'latin1');

const modes = [
  { name: 'default', args: [], options: {} },
  { name: 'classic', args: ['--classic'], options: { classic: true } },
  { name: 'preferences', args: ['-p', 'PREFS'], options: { preferences: new Uint8Array(preferencesBytes) } },
  { name: 'classic with preferences', args: ['--classic', '-p', 'PREFS'],
    options: { classic: true, preferences: new Uint8Array(preferencesBytes) } },
];

function nativeArgs(mode, folder) {
  return mode.args.map((arg) => (arg === 'PREFS' ? path.join(folder, 'prefs.txt') : arg));
}

// Converts every document of `names` natively into one folder: one process
// for all. Returns the HTML or the message of each.
function convertNatively(folder, names, mode) {
  const out = fs.mkdtempSync(path.join(folder, 'out-'));
  const run = support.runNative([...nativeArgs(mode, folder), '-j', '1', '-d', out, ...names], folder);
  const messages = new Map();
  for (const line of run.stderr.split('\n')) {
    const match = /^fa4tohtml: ([^:]+): (.*)$/.exec(line);
    if (match) messages.set(match[1], match[2]);
  }
  return names.map((name) => {
    const html = path.join(out, path.basename(name) + '.html');
    return fs.existsSync(html) ? { html: fs.readFileSync(html) } : { failure: messages.get(name) };
  });
}

function convertInModule(converter, bytes, options) {
  try {
    return { html: Buffer.from(converter.convert(new Uint8Array(bytes), options)) };
  } catch (error) {
    assert.ok(error instanceof Error);
    return { failure: error.message };
  }
}

function assertSameResults(converter, folder, names, mode) {
  const native = convertNatively(folder, names, mode);
  names.forEach((name, i) => {
    const own = convertInModule(converter, fs.readFileSync(path.join(folder, name)), mode.options);
    if (native[i].html) {
      assert.ok(own.html, `${name} (${mode.name}): ${own.failure}`);
      assert.ok(own.html.equals(native[i].html), `${name} (${mode.name}) differs from the native HTML`);
    } else {
      assert.strictEqual(own.failure, native[i].failure, `${name} (${mode.name})`);
    }
  });
}

test('documents convert to the bytes of the native converter', async (t) => {
  const converter = await support.loadConverter();
  const folder = support.tempFolder(t);
  fs.writeFileSync(path.join(folder, 'prefs.txt'), preferencesBytes);

  await t.test('the samples, in every mode', () => {
    assert.ok(samples.length >= 3);
    const names = samples.map((sample) => {
      fs.copyFileSync(sample, path.join(folder, path.basename(sample)));
      return path.basename(sample);
    });
    for (const mode of modes) assertSameResults(converter, folder, names, mode);
  });

  await t.test('random documents, damaged ones and ones too complex among them, in both modes', () => {
    const random = new support.RandomDocuments(20240611);
    const names = [];
    for (let i = 0; i < 400; ++i) {
      const name = `random-${i}.fa4`;
      fs.writeFileSync(path.join(folder, name), random.document());
      names.push(name);
    }
    // Rings from line 12 on: too complex from some size on.
    for (const size of [8, 60, 100]) {
      const name = `rings-${size}.fa4`;
      fs.writeFileSync(path.join(folder, name), support.buildDocument([...Array(12).fill('x'), ...support.concentricBoxes(size)]));
      names.push(name);
    }
    for (const mode of modes.slice(0, 2)) assertSameResults(converter, folder, names, mode);
  });
});

test('a document that does not convert throws an Error with the converter message', async () => {
  const converter = await support.loadConverter();
  const rings = support.buildDocument([...Array(12).fill('x'), ...support.concentricBoxes(100)]);
  assert.throws(() => converter.convert(new Uint8Array(rings)), { name: 'Error', message: 'Document too complex to convert' });
  assert.throws(() => converter.convert('text'), TypeError);
  assert.throws(() => converter.convert(new Uint8Array(4), { preferences: 'x' }), TypeError);
});
