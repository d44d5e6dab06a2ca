// What the page does with many documents, apart from the page itself, so
// that Node runs it too: reading the chosen files, telling a folder's
// documents by their heads, and writing the zip of "Save all" as a stream.
// The order, the entry names, the conflicts, the rows and the index come
// from the converter, as `fa4tohtml -r -d` makes them.
//
// A file here is {path, size, lastModified (ms), read: async (count) =>
// Uint8Array}: the first `count` bytes, or all of them without `count`.
(function (root, factory) {
  if (typeof module === 'object' && module.exports) module.exports = factory();
  else root.Fa4Archive = factory();
})(typeof self !== 'undefined' ? self : this, function () {
  'use strict';

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

  function readFailure(error) {
    return 'Cannot read file: ' + ((error && error.message) || String(error));
  }

  // The documents among `files` in the order the folder walk gives, and
  // where their paths sort, copies of the files whose head could not be
  // read, with the reason as `failure`.
  async function findDocuments(converter, files) {
    const found = [];
    for (const file of files) {
      try {
        const head = await file.read(converter.recognitionHeadSize);
        if (converter.looksLikeDocument(head, file.size)) found.push(file);
      } catch (error) {
        found.push({ ...file, failure: readFailure(error) });
      }
    }
    return converter.walkOrder(found.map((file) => file.path)).map((i) => found[i]);
  }

  // One document read and converted: {row, html?}, `html` only when asked
  // for. A file that cannot be read is a row with the reason.
  async function convertFile(converter, file, indexPath, options, wantHtml) {
    if (file.failure) return { row: converter.failedRow(indexPath, file.failure) };
    let bytes;
    try {
      bytes = await file.read();
    } catch (error) {
      return { row: converter.failedRow(indexPath, readFailure(error)) };
    }
    return converter.convertItem(bytes, indexPath, Math.floor(file.lastModified / 1000), options, wantHtml);
  }

  // The zip of "Save all": NAME.html for each document converted, under the
  // entry names the converter gives, and the index of all. Each document
  // is read and converted again as its entry is written; only the
  // compressed chunks are kept. `fflate` is the zip library. Resolves to
  // {chunks, rows}, or to {conflicts} when `fa4tohtml -r -d` would refuse
  // the run.
  async function writeArchive(converter, fflate, archiveName, files, options) {
    const plan = converter.archivePlan(files.map((file) => file.path));
    if (plan.conflicts.length) return { conflicts: plan.conflicts };
    const chunks = [];
    let failure = null;
    const zip = new fflate.Zip((error, chunk) => {
      if (error) failure = error;
      else chunks.push(chunk);
    });
    const add = (name, bytes) => {
      const entry = new fflate.ZipDeflate(name, { level: 6 });
      zip.add(entry);
      entry.push(bytes, true);
    };
    const rows = [];
    for (let i = 0; i < files.length; ++i) {
      const { entry, indexPath } = plan.entries[i];
      const result = await convertFile(converter, files[i], indexPath, options, true);
      if (result.html) add(entry, result.html);
      rows.push(result.row);
    }
    add(converter.indexFileName, converter.archiveIndex(archiveName, rows));
    zip.end();
    if (failure) throw failure;
    return { chunks, rows };
  }

  return { pathBelowFolder, folderName, findDocuments, convertFile, writeArchive };
});
