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

  // A file's bytes, or why they could not be read: {bytes} or {failure}.
  async function readWhole(file) {
    if (file.failure) return { failure: file.failure };
    try {
      return { bytes: await file.read() };
    } catch (error) {
      return { failure: readFailure(error) };
    }
  }

  const seconds = (file) => Math.floor(file.lastModified / 1000);

  // One document read and converted: {row, html?}, `html` only when asked
  // for. A file that cannot be read is a row with the reason.
  async function convertFile(converter, file, indexPath, options, wantHtml, keepText) {
    const { bytes, failure } = await readWhole(file);
    if (!bytes) return { row: converter.failedRow(indexPath, failure) };
    return converter.convertItem(bytes, indexPath, seconds(file), options, wantHtml, keepText);
  }

  // Parts of a document's HTML that the zip compresses one by one.
  const partSize = 1 << 20;

  // The zip of "Save all": NAME.html for each document converted, under the
  // entry names the converter gives, and the index of all with its search
  // data. Each document is read and converted again as its entry is
  // written, in the order the index lists them, so that each file of the
  // search data is written as soon as it is whole; HTML and the other files
  // are compressed in parts, and only the compressed chunks are kept.
  // `fflate` is the zip library. Resolves to {chunks, rows} (the rows in the
  // order of `files`), or to {conflicts} when `fa4tohtml -r -d` would refuse
  // the run.
  async function writeArchive(converter, fflate, archiveName, files, options) {
    const plan = converter.archivePlan(files.map((file) => file.path));
    if (plan.conflicts.length) return { conflicts: plan.conflicts };
    const chunks = [];
    let zipError = null;
    const zip = new fflate.Zip((error, chunk) => {
      if (error) zipError = error;
      else chunks.push(chunk);
    });
    const entryFor = (name) => {
      const entry = new fflate.ZipDeflate(name, { level: 6 });
      zip.add(entry);
      return entry;
    };
    const zipFiles = new converter.ArchiveFiles();
    // The files of the index and its search that the module has made whole.
    const writeReady = () => {
      for (let file; (file = zipFiles.takeFile()) !== null;) {
        const zipEntry = entryFor(file.name);
        let at = 0;
        do {
          zipEntry.push(file.bytes.subarray(at, at + partSize), at + partSize >= file.bytes.length);
          at += partSize;
        } while (at < file.bytes.length);
      }
    };
    const rows = new Array(files.length);
    try {
      for (const i of plan.indexOrder) {
        const { entry, indexPath } = plan.entries[i];
        const { bytes, failure } = await readWhole(files[i]);
        if (!bytes) {
          rows[i] = converter.failedRow(indexPath, failure);
          zipFiles.addFailed(indexPath, failure);
        } else {
          let zipEntry = null;
          rows[i] = converter.convertItemInParts(bytes, indexPath, seconds(files[i]), options, partSize,
            (part, last) => (zipEntry = zipEntry || entryFor(entry)).push(part, last), zipFiles);
        }
        writeReady();
      }
      zipFiles.finish(archiveName);
      writeReady();
    } finally {
      zipFiles.delete();
    }
    zip.end();
    if (zipError) throw zipError;
    return { chunks, rows };
  }

  return { pathBelowFolder, folderName, findDocuments, convertFile, writeArchive };
});
