// The page: reads the chosen documents, converts them with the module, lists
// them, previews the chosen one in a frame without scripts, and saves one
// document or a zip of all with the archive's index. It holds the HTML of
// the document shown only.
(function () {
  'use strict';

  const $ = (id) => document.getElementById(id);
  // The preview shows a document's HTML up to this size; a larger one
  // would take the browser many times its size to lay out.
  const previewLimit = 8 * 1024 * 1024;
  const state = {
    converter: null,
    items: [], // {path, name, file: {path, size, lastModified, read}, row}
    archiveName: '',
    chosen: -1,
    // The HTML of the document shown, the only one the page holds:
    // {index, html}, html null when it is too large to show.
    shown: null,
    preferences: null, // Uint8Array of the preferences file, or null
    run: 0, // counts conversions of the list, so that an older one stops
  };

  function setStatus(text) {
    $('status').textContent = text;
  }

  function options() {
    const chosen = { classic: $('classic').checked };
    if (state.preferences) chosen.preferences = state.preferences;
    return chosen;
  }

  function megabytes(bytes) {
    return (bytes / (1024 * 1024)).toFixed(1) + ' MB';
  }

  // A chosen file as the archive reads it.
  function readable(file, path) {
    return {
      path,
      size: file.size,
      lastModified: file.lastModified,
      read: async (count) => new Uint8Array(await (count === undefined ? file : file.slice(0, count)).arrayBuffer()),
    };
  }

  // The character set the HTML names for itself; a page that names none
  // is read as browsers read such a file.
  function charsetOf(html) {
    const head = new TextDecoder('windows-1252').decode(html.subarray(0, 4096));
    const match = /<meta[^>]*charset\s*=\s*["']?\s*([\w.:-]+)/i.exec(head);
    if (match) {
      try {
        new TextDecoder(match[1]);
        return match[1];
      } catch (error) {
        // an unknown name: as if there were none
      }
    }
    return 'windows-1252';
  }

  function showPreview(html, note) {
    $('preview').srcdoc = html ? new TextDecoder(charsetOf(html)).decode(html) : '';
    $('preview-note').textContent = note;
    $('preview-note').hidden = !note;
  }

  // Converts the chosen document again for the preview; the one shown
  // before is let go.
  async function choose(index) {
    state.chosen = index;
    state.shown = null;
    for (const button of $('list').querySelectorAll('button'))
      button.setAttribute('aria-current', String(Number(button.dataset.index) === index));
    const item = state.items[index];
    $('save').disabled = !item || Boolean(item.row.failure);
    if (!item || item.row.failure) {
      showPreview(null, '');
      return;
    }
    const result = await Fa4Archive.convertFile(state.converter, item.file, item.path, options(), true);
    if (state.chosen !== index) return;
    if (!result.html) {
      showPreview(null, 'Not converted: ' + result.row.failure);
      return;
    }
    if (result.html.length > previewLimit) {
      state.shown = { index, html: null };
      showPreview(null, 'The HTML of ' + item.path + ' is ' + megabytes(result.html.length) +
        ', more than the preview shows (' + megabytes(previewLimit) + '). "Save" still saves it.');
      return;
    }
    state.shown = { index, html: result.html };
    showPreview(result.html, '');
  }

  function renderList() {
    const list = $('list');
    list.textContent = '';
    state.items.forEach((item, index) => {
      const button = document.createElement('button');
      button.type = 'button';
      button.dataset.index = String(index);
      button.append(item.path);
      const row = item.row;
      const note = document.createElement('span');
      note.className = row.failure ? 'failure' : 'title';
      note.textContent = row.failure ? 'Not converted: ' + row.failure : row.title || '(no title)';
      button.append(note);
      if (!row.failure && row.damage) {
        const damage = document.createElement('span');
        damage.className = 'failure';
        damage.textContent = 'Damaged: ' + row.damage;
        button.append(damage);
      }
      button.addEventListener('click', () => choose(index));
      const entry = document.createElement('li');
      entry.append(button);
      list.append(entry);
    });
    $('save-all').disabled = state.items.length === 0;
    $('search-bar').hidden = state.items.length === 0;
    search();
  }

  // The search of the archive's index, over the texts of the chosen
  // documents: every typed word of two letters or more begins a word of the
  // text, whatever the case and accents; the passage around the first hit
  // shows under the document's name. Words, folding and passages come from
  // search-text.js, the first part of the index's own search.
  const { words, fold, typedWords, passage } = window.fa4SearchText;

  function holdsAll(text, typed) {
    const folded = new Set((fold(text).match(words) || []));
    return typed.every((t) => [...folded].some((word) => word.startsWith(t)));
  }

  function search() {
    const { all, typed } = typedWords($('search').value);
    let shown = 0;
    state.items.forEach((item, index) => {
      const entry = $('list').children[index];
      if (!entry) return;
      const old = entry.querySelector('.passage');
      if (old) old.remove();
      const text = item.row.text || '';
      entry.hidden = typed.length > 0 && !holdsAll(text, typed);
      if (entry.hidden || typed.length === 0) return;
      ++shown;
      const found = passage(text, typed);
      if (!found) return;
      const span = document.createElement('span');
      span.className = 'passage';
      span.append(...found.nodes);
      entry.querySelector('button').append(span);
    });
    $('search-status').textContent = typed.length === 0 ? (all.length ? 'Type two letters or more of a word.' : '')
      : shown === 1 ? '1 document holds every word.' : shown + ' documents hold every word.';
  }

  // Every document is converted for its row in the list; its HTML is not
  // kept.
  async function convertAll(note) {
    const run = ++state.run;
    const chosen = options();
    setStatus('Converting ' + state.items.length + ' document' + (state.items.length === 1 ? '' : 's') + '…');
    for (const item of state.items) {
      const result = await Fa4Archive.convertFile(state.converter, item.file, item.path, chosen, false, true);
      if (run !== state.run) return;
      item.row = result.row;
    }
    renderList();
    const failed = state.items.filter((item) => item.row.failure).length;
    setStatus(
      state.items.length + ' document' + (state.items.length === 1 ? '' : 's') + ' converted' +
        (failed ? ', ' + failed + ' failed' : '') + '.' + (note ? ' ' + note : ''));
    await choose(state.items.length ? Math.max(0, Math.min(state.chosen, state.items.length - 1)) : -1);
  }

  // Documents named one by one are converted whatever they hold, as on the
  // command line.
  async function takeFiles(files) {
    if (!state.converter || files.length === 0) return;
    state.items = files.map((file) => ({ path: file.name, name: file.name, file: readable(file, file.name) }));
    state.archiveName = files.map((file) => file.name).join(', ');
    state.chosen = 0;
    await convertAll('');
  }

  // A folder: only its documents, as `fa4tohtml -r` finds them, in path
  // order and with their paths below it; a file that cannot be read is
  // listed with the reason.
  async function takeFolder(files) {
    if (!state.converter || files.length === 0) return;
    setStatus('Looking through ' + files.length + ' files…');
    const candidates = files.map((file) => readable(file, Fa4Archive.pathBelowFolder(file.webkitRelativePath || file.name)));
    const found = await Fa4Archive.findDocuments(state.converter, candidates);
    state.items = found.map((file) => ({ path: file.path, name: file.path.slice(file.path.lastIndexOf('/') + 1), file }));
    state.archiveName = Fa4Archive.folderName(files[0].webkitRelativePath || '') || 'folder';
    state.chosen = 0;
    const passedOver = files.length - found.length;
    await convertAll(passedOver ? passedOver + ' passed over as not documents.' : '');
  }

  function download(name, parts, type) {
    const url = URL.createObjectURL(new Blob(parts, { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  // The HTML shown, or converted again when it was too large to show.
  async function save() {
    const index = state.chosen;
    const item = state.items[index];
    if (!item || item.row.failure) return;
    let html = state.shown && state.shown.index === index ? state.shown.html : null;
    if (!html) html = (await Fa4Archive.convertFile(state.converter, item.file, item.path, options(), true)).html;
    if (html) download(item.name + '.html', [html], 'text/html');
  }

  async function saveAll() {
    $('save-all').disabled = true;
    try {
      setStatus('Writing the zip…');
      const files = state.items.map((item) => item.file);
      const zip = await Fa4Archive.writeArchive(state.converter, fflate, state.archiveName, files, options());
      if (zip.conflicts) {
        setStatus('Nothing saved: ' + zip.conflicts.join('; ') + '.');
        return;
      }
      const failed = zip.rows.filter((row) => row.failure).length;
      setStatus('Saved ' + (zip.rows.length - failed) + ' of ' + zip.rows.length + ' documents and the index.');
      const zipName = (state.items.length === 1 ? state.items[0].name : state.archiveName.includes(',') ? 'documents' : state.archiveName) + '.zip';
      download(zipName, zip.chunks, 'application/zip');
    } catch (error) {
      setStatus('Nothing saved: ' + error.message);
    } finally {
      $('save-all').disabled = state.items.length === 0;
    }
  }

  async function takePreferences() {
    const file = $('preferences').files[0];
    state.preferences = file ? new Uint8Array(await file.arrayBuffer()) : null;
    $('default-preferences').disabled = !state.preferences;
    if (state.items.length) convertAll('');
  }

  function listenForDrops() {
    const zone = document.body;
    zone.addEventListener('dragover', (event) => {
      event.preventDefault();
      $('drop-zone').classList.add('dragging');
    });
    zone.addEventListener('dragleave', () => $('drop-zone').classList.remove('dragging'));
    zone.addEventListener('drop', (event) => {
      event.preventDefault();
      $('drop-zone').classList.remove('dragging');
      takeFiles(Array.from(event.dataTransfer.files));
    });
  }

  async function start() {
    try {
      state.converter = await Fa4ToHtml();
    } catch (error) {
      setStatus('The converter could not be loaded: ' + error.message);
      return;
    }
    $('documents').addEventListener('change', (event) => takeFiles(Array.from(event.target.files)));
    $('folder').addEventListener('change', (event) => takeFolder(Array.from(event.target.files)));
    $('classic').addEventListener('change', () => state.items.length && convertAll(''));
    $('preferences').addEventListener('change', takePreferences);
    $('default-preferences').addEventListener('click', () => {
      $('preferences').value = '';
      takePreferences();
    });
    $('save').addEventListener('click', save);
    $('save-all').addEventListener('click', saveAll);
    $('search').addEventListener('input', search);
    listenForDrops();
    setStatus('Ready: choose documents or a folder.');
    document.body.dataset.ready = 'true';
  }

  start();
})();
