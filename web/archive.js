// What the page does with many documents, apart from the page itself, so
// that Node runs it too: which files of a folder are documents (as
// `fa4tohtml -r` tells them), in which order, and the files of the zip that
// "Save all" writes (as `fa4tohtml -r -d` writes the folder).
(function (root, factory) {
  if (typeof module === 'object' && module.exports) module.exports = factory();
  else root.Fa4Archive = factory();
})(typeof self !== 'undefined' ? self : this, function () {
  'use strict';

  const encoder = new TextEncoder();

  function compareBytes(a, b) {
    const n = Math.min(a.length, b.length);
    for (let i = 0; i < n; ++i) if (a[i] !== b[i]) return a[i] - b[i];
    return a.length - b.length;
  }

  // Path order as the folder walk gives it: each folder's entries sorted by
  // the bytes of their names, a folder's files where its name sorts.
  function comparePaths(a, b) {
    const x = a.split('/');
    const y = b.split('/');
    const n = Math.min(x.length, y.length);
    for (let i = 0; i < n; ++i) {
      const order = compareBytes(encoder.encode(x[i]), encoder.encode(y[i]));
      if (order !== 0) return order;
    }
    return x.length - y.length;
  }

  // Files of a chosen folder by their path below it: `webkitRelativePath`
  // names the folder itself first.
  function pathBelowFolder(relativePath) {
    const slash = relativePath.indexOf('/');
    return slash < 0 ? relativePath : relativePath.slice(slash + 1);
  }

  function folderName(relativePath) {
    const slash = relativePath.indexOf('/');
    return slash < 0 ? '' : relativePath.slice(0, slash);
  }

  // `files`: [{path, size, head: async (count) => Uint8Array}]. The
  // documents among them in path order, told by their head as the folder
  // walk tells them.
  async function findDocuments(converter, files) {
    const found = [];
    for (const file of files) {
      const head = await file.head(converter.recognitionHeadSize);
      if (converter.looksLikeDocument(head, file.size)) found.push(file);
    }
    return found.sort((a, b) => comparePaths(a.path, b.path));
  }

  // The run's outputs would overwrite each other: the messages
  // `fa4tohtml` refuses such a run with.
  function conflicts(paths) {
    const messages = [];
    const seen = new Map();
    for (const path of paths) {
      const target = path + '.html';
      if (target === 'index.html') messages.push(path + ' and the index would both be written to index.html');
      else if (seen.has(target)) messages.push(seen.get(target) + ' and ' + path + ' would both be written to ' + target);
      else seen.set(target, path);
    }
    return messages;
  }

  // One converted document, or why it was not: {html} or {failure}, with
  // the row the index shows of it.
  function convertItem(converter, item, options) {
    const row = { path: item.path, size: item.bytes.length, modified: Math.floor(item.lastModified / 1000) };
    let html = null;
    try {
      html = converter.convert(item.bytes, options);
    } catch (error) {
      row.failure = error.message;
      return { html, row };
    }
    const facts = converter.documentFacts(item.bytes);
    if (!facts.error) {
      row.title = facts.title;
      row.excerpt = facts.excerpt;
      row.damage = facts.damage;
      row.lines = facts.lines;
    }
    return { html, row };
  }

  // `items`: [{path, bytes, lastModified (ms)}] in path order. The files of
  // the zip by path: NAME.html for each document converted, and the index
  // of all of them.
  function archiveFiles(converter, archiveName, items, options) {
    const files = {};
    const rows = [];
    for (const item of items) {
      const result = item.result || convertItem(converter, item, options);
      if (result.html) files[item.path + '.html'] = result.html;
      rows.push(result.row);
    }
    files['index.html'] = converter.archiveIndex(archiveName, rows);
    return files;
  }

  return { comparePaths, pathBelowFolder, folderName, findDocuments, conflicts, convertItem, archiveFiles };
});
