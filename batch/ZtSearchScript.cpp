// The index's search, as the script file written beside the index, and
// the part of it that the converter's page shares.

#include "ZtSearchData.h"

namespace quorvex {

// Every file is a script of the index's own folder, loaded by a script
// element, so that it runs from the folder (where a browser lets no page
// read files) and from any web server, under a policy that allows only the
// folder's scripts.

// Words and splitting follow FoldWord and FoldedWords.
const std::string_view SearchTextScript =
    R"JS(// How a search reads documents' texts, shared by the search field of an
// archive's index and the converter's page. Written by fa4tohtml.
window.fa4SearchText = (function () {
  'use strict';
  const words = /[0-9A-Za-z\u00aa\u00b5\u00ba\u00c0-\u00d6\u00d8-\u00f6\u00f8-\u024f\u0370-\u03ff]+/g;
  const fold = (text) => text.toLowerCase().normalize('NFD').replace(/[\u0300-\u036f]/g, '').replace(/\u00df/g, 'ss');

  // The words of a typed text, folded, and those searched for: a single
  // letter would find nearly every document (and load the words of every
  // pair of letters it begins).
  function typedWords(value) {
    const all = fold(value).match(words) || [];
    return { all, typed: all.filter((word) => Array.from(word).length >= 2) };
  }

  const isHit = (word, typed) => { const f = fold(word); return typed.some((t) => f.startsWith(t)); };

  // The passage around the first hit, hits marked, and the hit itself.
  function passage(whole, typed) {
    words.lastIndex = 0;
    let first = null;
    for (let m; (m = words.exec(whole));) if (isHit(m[0], typed)) { first = m; break; }
    if (!first) return null;
    let start = Math.max(0, first.index - 60);
    if (start > 0) {
      const blank = whole.slice(start, first.index).search(/\s/);
      start = blank >= 0 ? start + blank + 1 : first.index;
    }
    let end = Math.min(whole.length, first.index + first[0].length + 120);
    if (end < whole.length) {
      const blank = whole.slice(first.index + first[0].length, end).search(/\s[^\s]*$/);
      if (blank >= 0) end = first.index + first[0].length + blank;
    }
    const part = whole.slice(start, end).replace(/\s+/g, ' ');
    const nodes = [];
    if (start > 0) nodes.push('\u2026');
    let at = 0;
    words.lastIndex = 0;
    for (let m; (m = words.exec(part));) {
      if (!isHit(m[0], typed)) continue;
      nodes.push(part.slice(at, m.index));
      const mark = document.createElement('mark');
      mark.textContent = m[0];
      nodes.push(mark);
      at = m.index + m[0].length;
    }
    nodes.push(part.slice(at));
    if (end < whole.length) nodes.push('\u2026');
    return { nodes, hit: first[0] };
  }

  return { words, fold, typedWords, passage };
})();
)JS";

// The index's own part, which needs SearchTextScript before it.
const std::string_view SearchIndexScript =
    R"JS(// The search field of an archive's index: hides the rows of documents
// whose text does not hold every word typed, shows the passage around the
// first hit, links to the hit. Written by fa4tohtml.
(function () {
  'use strict';
  const field = document.getElementById('search');
  if (!field) return;
  const folder = document.currentScript.src.replace(/[^/]*$/, '');
  const { words, fold, typedWords, passage } = window.fa4SearchText;
  const rows = Array.from(document.querySelectorAll('tbody tr'));
  const sections = Array.from(document.querySelectorAll('section'));
  const status = document.getElementById('search-status');
  const loads = new Map(); // file name -> {promise, resolve}
  const parsedShards = new Map(); // word file -> [[word, documents], ...]
  const saved = new Map(); // row -> {cell children, link target}
  let manifest = null;
  let generation = 0;

  function load(name) {
    if (!loads.has(name)) {
      let resolve;
      let reject;
      const promise = new Promise((res, rej) => { resolve = res; reject = rej; });
      loads.set(name, { promise, resolve });
      const script = document.createElement('script');
      script.src = folder + name;
      script.onerror = () => reject(new Error('cannot load ' + name));
      document.head.appendChild(script);
    }
    return loads.get(name).promise;
  }
  const arrived = (name, value) => loads.get(name) && loads.get(name).resolve(value);

  window.fa4Search = {
    manifest(data) { arrived('index.js', data); },
    words(number, data) { arrived('w-' + number + '.js', data); },
    texts(number, data) { arrived('t-' + number + '.js', data); },
  };

  async function shard(number) {
    if (!parsedShards.has(number)) {
      const data = await load('w-' + number + '.js');
      if (!parsedShards.has(number))
        parsedShards.set(number, data.split('\n').filter(Boolean).map((line) => line.split(' ')));
    }
    return parsedShards.get(number);
  }

  function documentsOf(list) {
    const found = [];
    let document = 0;
    for (const difference of list.split(',')) found.push(document += parseInt(difference, 36));
    return found;
  }

  // The documents holding a word that begins with `word`, of two letters
  // or more: its word file is the one of its first two, or none.
  async function documentsWith(word) {
    const key = Array.from(word).slice(0, 2).join('');
    const numbers = [];
    manifest.keys.forEach((k, number) => { if (k === key) numbers.push(number); });
    const found = new Set();
    for (const number of numbers)
      for (const [w, list] of await shard(number))
        if (w.startsWith(word)) for (const d of documentsOf(list)) found.add(d);
    return found;
  }

  async function text(document) {
    const starts = manifest.chunks;
    let low = 0;
    let high = starts.length - 1;
    while (low < high) {
      const middle = (low + high + 1) >> 1;
      if (starts[middle] <= document) low = middle; else high = middle - 1;
    }
    const texts = await load('t-' + low + '.js');
    return texts[(document - starts[low]) * 2 + 1] || '';
  }

  function keep(row) {
    if (saved.has(row)) return saved.get(row);
    const cell = row.querySelector('td.excerpt');
    const link = row.querySelector('a');
    const kept = { cell, nodes: cell ? Array.from(cell.childNodes) : [], link, href: link && link.getAttribute('href') };
    saved.set(row, kept);
    return kept;
  }

  function restore(row) {
    const kept = saved.get(row);
    if (!kept) return;
    if (kept.cell) kept.cell.replaceChildren(...kept.nodes);
    if (kept.link) kept.link.setAttribute('href', kept.href);
    saved.delete(row);
  }

  async function showPassage(row, document, typed, current) {
    const whole = await text(document);
    if (current !== generation) return;
    const found = passage(whole, typed);
    const kept = keep(row);
    if (!found || !kept.cell) return;
    kept.cell.replaceChildren(...found.nodes);
    if (kept.link && 'fragmentDirective' in window.document)
      kept.link.setAttribute('href', kept.href + '#:~:text=' +
        encodeURIComponent(found.hit).replace(/-/g, '%2D'));
  }

  const observer = 'IntersectionObserver' in window ? new IntersectionObserver((entries) => {
    for (const entry of entries) {
      if (!entry.isIntersecting) continue;
      observer.unobserve(entry.target);
      const pending = entry.target.fa4Pending;
      if (pending) showPassage(entry.target, pending.document, pending.typed, pending.generation);
    }
  }) : null;

  async function search() {
    const current = ++generation;
    const { all, typed } = typedWords(field.value);
    if (observer) observer.disconnect();
    if (typed.length === 0) {
      for (const row of rows) { if (row.hidden) row.hidden = false; restore(row); }
      for (const section of sections) if (section.hidden) section.hidden = false;
      status.textContent = all.length > 0 ? 'Type two letters or more of a word.' : '';
      status.dataset.query = '';
      return;
    }
    if (!manifest) manifest = await load('index.js');
    let found = null;
    for (const word of typed) {
      const holding = await documentsWith(word);
      found = found ? new Set([...found].filter((d) => holding.has(d))) : holding;
      if (found.size === 0) break;
    }
    if (current !== generation) return;
    let shown = 0;
    // Rows are touched only where they change: an index may hold 100000.
    rows.forEach((row, document) => {
      restore(row);
      row.fa4Pending = null;
      const hide = !found.has(document);
      if (row.hidden !== hide) row.hidden = hide;
      if (hide) return;
      if (shown < 20) showPassage(row, document, typed, current);
      else if (observer && shown < 2000) {
        row.fa4Pending = { document, typed, generation: current };
        observer.observe(row);
      }
      ++shown;
    });
    for (const section of sections) {
      const hide = !section.querySelector('tbody tr:not([hidden])');
      if (section.hidden !== hide) section.hidden = hide;
    }
    status.textContent = shown === 1 ? '1 document holds every word.' : shown + ' documents hold every word.';
    status.dataset.query = field.value;
  }

  field.addEventListener('input', () => search().catch((error) => { status.textContent = error.message; }));
  document.getElementById('search-bar').hidden = false;
  if (field.value) search();
})();
)JS";

} // namespace quorvex
