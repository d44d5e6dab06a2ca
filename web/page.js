// The page: reads the chosen documents, converts them with the module, lists
// them, previews the chosen one in a frame without scripts, and saves one
// document or a zip of all with the archive's index.
(function () {
  'use strict';

  const $ = (id) => document.getElementById(id);
  const state = {
    converter: null,
    items: [], // {path, name, bytes, lastModified, result: {html, row}}
    archiveName: '',
    chosen: -1,
    preferences: null, // Uint8Array of the preferences file, or null
  };

  function setStatus(text) {
    $('status').textContent = text;
  }

  function options() {
    const chosen = { classic: $('classic').checked };
    if (state.preferences) chosen.preferences = state.preferences;
    return chosen;
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

  function showPreview() {
    const item = state.items[state.chosen];
    const frame = $('preview');
    if (!item || !item.result.html) {
      frame.srcdoc = '';
      return;
    }
    const html = item.result.html;
    frame.srcdoc = new TextDecoder(charsetOf(html)).decode(html);
  }

  function choose(index) {
    state.chosen = index;
    for (const button of $('list').querySelectorAll('button'))
      button.setAttribute('aria-current', String(Number(button.dataset.index) === index));
    const item = state.items[index];
    $('save').disabled = !item || !item.result.html;
    showPreview();
  }

  function renderList() {
    const list = $('list');
    list.textContent = '';
    state.items.forEach((item, index) => {
      const button = document.createElement('button');
      button.type = 'button';
      button.dataset.index = String(index);
      button.append(item.path);
      const row = item.result.row;
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
  }

  function convertAll() {
    const chosen = options();
    for (const item of state.items) item.result = Fa4Archive.convertItem(state.converter, item, chosen);
    renderList();
    const failed = state.items.filter((item) => item.result.row.failure).length;
    setStatus(
      state.items.length + ' document' + (state.items.length === 1 ? '' : 's') + ' converted' +
        (failed ? ', ' + failed + ' failed' : '') + '.');
    choose(state.items.length ? Math.max(0, Math.min(state.chosen, state.items.length - 1)) : -1);
  }

  async function bytesOf(file) {
    return new Uint8Array(await file.arrayBuffer());
  }

  // Documents named one by one are converted whatever they hold, as on the
  // command line.
  async function takeFiles(files) {
    if (!state.converter || files.length === 0) return;
    setStatus('Reading ' + files.length + ' file' + (files.length === 1 ? '' : 's') + '…');
    state.items = [];
    for (const file of files)
      state.items.push({ path: file.name, name: file.name, bytes: await bytesOf(file), lastModified: file.lastModified });
    state.archiveName = files.map((file) => file.name).join(', ');
    state.chosen = 0;
    convertAll();
  }

  // A folder: only its documents, as `fa4tohtml -r` finds them, in path
  // order and with their paths below it.
  async function takeFolder(files) {
    if (!state.converter || files.length === 0) return;
    setStatus('Looking through ' + files.length + ' files…');
    const candidates = files.map((file) => ({
      file,
      path: Fa4Archive.pathBelowFolder(file.webkitRelativePath || file.name),
      size: file.size,
      head: async (count) => bytesOf(file.slice(0, count)),
    }));
    const found = await Fa4Archive.findDocuments(state.converter, candidates);
    state.items = [];
    for (const candidate of found) {
      const file = candidate.file;
      const name = candidate.path.slice(candidate.path.lastIndexOf('/') + 1);
      state.items.push({ path: candidate.path, name, bytes: await bytesOf(file), lastModified: file.lastModified });
    }
    state.archiveName = Fa4Archive.folderName(files[0].webkitRelativePath || '') || 'folder';
    state.chosen = 0;
    convertAll();
    if (found.length < files.length) setStatus($('status').textContent + ' ' + (files.length - found.length) + ' passed over as not documents.');
  }

  function download(name, bytes, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function save() {
    const item = state.items[state.chosen];
    if (item && item.result.html) download(item.name + '.html', item.result.html, 'text/html');
  }

  function saveAll() {
    const conflicts = Fa4Archive.conflicts(state.items.map((item) => item.path));
    if (conflicts.length) {
      setStatus('Nothing saved: ' + conflicts.join('; ') + '.');
      return;
    }
    const files = Fa4Archive.archiveFiles(state.converter, state.archiveName, state.items, options());
    const zipName = (state.items.length === 1 ? state.items[0].name : state.archiveName.includes(',') ? 'documents' : state.archiveName) + '.zip';
    download(zipName, fflate.zipSync(files, { level: 6 }), 'application/zip');
  }

  async function takePreferences() {
    const file = $('preferences').files[0];
    state.preferences = file ? await bytesOf(file) : null;
    $('default-preferences').disabled = !state.preferences;
    if (state.items.length) convertAll();
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
    $('classic').addEventListener('change', () => state.items.length && convertAll());
    $('preferences').addEventListener('change', takePreferences);
    $('default-preferences').addEventListener('click', () => {
      $('preferences').value = '';
      takePreferences();
    });
    $('save').addEventListener('click', save);
    $('save-all').addEventListener('click', saveAll);
    listenForDrops();
    setStatus('Ready: choose documents or a folder.');
    document.body.dataset.ready = 'true';
  }

  start();
})();
