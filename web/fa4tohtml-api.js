// The module's public face, run inside the module's factory: convert() takes
// and gives bytes and throws an Error with the converter's message;
// convertItem() and convertItemInParts() give a document of an archive with
// its index row.
function checkedOptions(name, document, options) {
  options = options || {};
  if (!(document instanceof Uint8Array)) throw new TypeError(name + ': the document must be a Uint8Array');
  const preferences = options.preferences;
  if (preferences !== undefined && preferences !== null && !(preferences instanceof Uint8Array))
    throw new TypeError(name + ': preferences must be a Uint8Array');
  return { classic: !!options.classic, preferences: preferences === undefined ? null : preferences };
}

Module['convert'] = function (document, options) {
  const checked = checkedOptions('convert', document, options);
  const result = Module['convertBytes'](document, checked.classic, checked.preferences);
  if (typeof result === 'string') throw new Error(result);
  return result;
};

// {row, html?}: `html` only when `wantHtml` and the document converted;
// `modified` in seconds; with `keepText` the row holds the document's text
// (`text`), as the index's search reads it.
Module['convertItem'] = function (document, indexPath, modified, options, wantHtml, keepText) {
  const checked = checkedOptions('convertItem', document, options);
  const item = Module['convertItemBytes'](document, indexPath, modified, checked.classic, checked.preferences,
    Boolean(keepText));
  try {
    const result = { row: item.row(true) };
    if (wantHtml && item.converted()) result.html = item.htmlPart(0, item.htmlSize());
    return result;
  } finally {
    item.delete();
  }
};

// The same, the HTML handed to `onPart(bytes, last)` in parts of at most
// `partSize` bytes; returns the row, which with its text also goes into
// `files` (an ArchiveFiles).
Module['convertItemInParts'] = function (document, indexPath, modified, options, partSize, onPart, files) {
  const checked = checkedOptions('convertItemInParts', document, options);
  const item = Module['convertItemBytes'](document, indexPath, modified, checked.classic, checked.preferences, true);
  try {
    if (item.converted()) {
      const size = item.htmlSize();
      let at = 0;
      do {
        onPart(item.htmlPart(at, partSize), at + partSize >= size);
        at += partSize;
      } while (at < size);
    }
    const row = item.row(false); // the text goes to `files` alone
    files.addItem(item);
    return row;
  } finally {
    item.delete();
  }
};
