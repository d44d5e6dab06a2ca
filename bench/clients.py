#!/usr/bin/python3
"""How much of what Chromium shows of each HTML file other programs keep.

    bench/clients.py HTML_DIR

For every *.html in HTML_DIR, with Chromium's rendering as the reference:
- pandoc: the share of Chromium's words (innerText) that `pandoc -t plain`
  keeps in order, as it writes them and with its superscripts (^2^, ²) and
  ~subscript~ marks taken off;
- LibreOffice (HTML (StarWriter) import): the share of the words Chromium
  shows in a fixed-width font that stay fixed-width, and of all words that
  keep Chromium's font size;
- html5lib: parse errors, "unknown-doctype" (which every public doctype
  gets) not counted;
- control bytes other than TAB, LF and CR in the file.
Prints one line per file and the totals. Needs chromium, pandoc, soffice and
python3-html5lib; works in a temporary folder of its own.
"""

import difflib
import glob
import html
import json
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import html5lib

MEASURE = """<script>
(function () {
  var words = [];
  var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (var node = walker.nextNode(); node; node = walker.nextNode()) {
    if (node.parentElement.closest('script, style')) continue;
    var style = getComputedStyle(node.parentElement);
    var mono = /courier|mono/i.test(style.fontFamily) ? 1 : 0;
    var size = parseFloat(style.fontSize) * 0.75;
    var raised = node.parentElement.closest('sup, sub') ? 1 : 0;
    node.textContent.split(/\\s+/).forEach(function (w) { if (w) words.push([w, mono, size, raised]); });
  }
  var text = document.body.innerText.split(/\\s+/).filter(function (w) { return w; });
  var pre = document.createElement('pre');
  pre.id = 'measured';
  pre.textContent = JSON.stringify({words: words, text: text});
  document.documentElement.appendChild(pre);
})();
</script>"""

NS = {
    'office': 'urn:oasis:names:tc:opendocument:xmlns:office:1.0',
    'style': 'urn:oasis:names:tc:opendocument:xmlns:style:1.0',
    'text': 'urn:oasis:names:tc:opendocument:xmlns:text:1.0',
    'fo': 'urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0',
    'svg': 'urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0',
}


def q(prefix, name):
    return '{%s}%s' % (NS[prefix], name)


def chromium(path, work):
    with open(path, 'rb') as f:
        data = f.read()
    page = os.path.join(work, 'page.html')
    with open(page, 'wb') as f:
        f.write(data + MEASURE.encode())
    out = subprocess.run(
        ['chromium', '--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
         '--user-data-dir=' + os.path.join(work, 'profile'), '--dump-dom', 'file://' + page],
        capture_output=True).stdout.decode('utf-8', 'replace')
    found = re.search(r'<pre id="measured">(.*?)</pre>', out, re.S)
    return json.loads(html.unescape(found.group(1)))


def pandoc_words(path):
    out = subprocess.run(['pandoc', '-f', 'html', '-t', 'plain', '--wrap=none', path],
                         capture_output=True).stdout.decode('utf-8', 'replace')
    return out.split()


def kept_in_order(reference, words):
    matcher = difflib.SequenceMatcher(None, reference, words, autojunk=False)
    return sum(block.size for block in matcher.get_matching_blocks())


class Styles:
    """Font family and size of the paragraph and text styles of a flat ODT."""

    def __init__(self, root):
        self.faces = {}
        for face in root.iter(q('style', 'font-face')):
            family = face.get(q('svg', 'font-family'), '') + ' ' + face.get(q('style', 'name'), '')
            self.faces[face.get(q('style', 'name'))] = (
                face.get(q('style', 'font-pitch')) == 'fixed' or re.search('courier|mono', family, re.I))
        self.styles = {}
        self.defaults = {}
        for element in root.iter():
            if element.tag not in (q('style', 'style'), q('style', 'default-style')):
                continue
            props = element.find('style:text-properties', NS)
            entry = {
                'parent': element.get(q('style', 'parent-style-name')),
                'font': props.get(q('style', 'font-name')) if props is not None else None,
                'size': props.get(q('fo', 'font-size')) if props is not None else None,
            }
            if element.tag == q('style', 'default-style'):
                self.defaults[element.get(q('style', 'family'))] = entry
            else:
                self.styles[(element.get(q('style', 'family')), element.get(q('style', 'name')))] = entry

    def resolve(self, family, name):
        """(fixed-width, size in pt) of a style with its parents."""
        chain = []
        while name is not None and (family, name) in self.styles:
            chain.append(self.styles[(family, name)])
            name = chain[-1]['parent']
        chain.append(self.defaults.get('paragraph', {'font': None, 'size': None}))
        font = next((s['font'] for s in chain if s.get('font')), None)
        size = 12.0
        for s in reversed(chain):
            value = s.get('size')
            if not value:
                continue
            if value.endswith('%'):
                size = size * float(value[:-1]) / 100
            elif value.endswith('pt'):
                size = float(value[:-2])
        return (bool(font and self.faces.get(font)), size, font, [s.get('size') for s in chain])


def libreoffice_words(fodt):
    root = ET.parse(fodt).getroot()
    styles = Styles(root)
    words = []

    def walk(element, paragraph, span):
        def add(text):
            mono, size = paragraph
            if span is not None:
                s = styles.styles.get(('text', span), {})
                if s.get('font'):
                    mono = bool(styles.faces.get(s['font']))
                if s.get('size'):
                    v = s['size']
                    size = size * float(v[:-1]) / 100 if v.endswith('%') else float(v[:-2])
            for w in text.split():
                words.append((w, 1 if mono else 0, size))
        if element.text:
            add(element.text)
        for child in element:
            if child.tag in (q('text', 'p'), q('text', 'h')):
                r = styles.resolve('paragraph', child.get(q('text', 'style-name')))
                walk(child, (r[0], r[1]), None)
            elif child.tag == q('text', 'span'):
                walk(child, paragraph, child.get(q('text', 'style-name')))
            elif child.tag in (q('text', 's'), q('text', 'tab'), q('text', 'line-break')):
                add(' ')
            else:
                walk(child, paragraph, span)
            if child.tail:
                add(child.tail)
    body = root.find('office:body', NS)
    walk(body, (False, 12.0), None)
    # A space element stands between two halves of one text: join them back
    # only where the reference does (it does not), so they stay words.
    return words


def html5lib_errors(path):
    parser = html5lib.HTMLParser()
    with open(path, 'rb') as f:
        parser.parse(f.read())
    return [e[1] for e in parser.errors if e[1] != 'unknown-doctype']


# pandoc writes superscript and subscript digits as such.
SCRIPT_DIGITS = str.maketrans('⁰¹²³⁴⁵⁶⁷⁸⁹₀₁₂₃₄₅₆₇₈₉', '01234567890123456789')

CONTROL = re.compile(rb'[\x00-\x08\x0b\x0c\x0e-\x1f\x7f]')


def main():
    folder = sys.argv[1]
    files = sorted(glob.glob(os.path.join(folder, '*.html')))
    totals = dict.fromkeys(['words', 'pandoc', 'pandoc_marks', 'mono', 'mono_kept', 'sized', 'size_kept',
                            'errors', 'controls', 'with_errors', 'with_controls', 'fonts', 'fonts_kept'], 0)
    with tempfile.TemporaryDirectory() as work:
        lo_dir = os.path.join(work, 'lo')
        os.mkdir(lo_dir)
        subprocess.run(['soffice', '-env:UserInstallation=file://' + os.path.join(work, 'lo-profile'),
                        '--headless', '--infilter=HTML (StarWriter)', '--convert-to', 'fodt', '--outdir', lo_dir]
                       + files, capture_output=True)
        for path in files:
            name = os.path.basename(path)
            shown = chromium(path, work)
            text = shown['text']
            words = pandoc_words(path)
            unmarked = [w.replace('^', '').replace('~', '').translate(SCRIPT_DIGITS) for w in words]
            kept = kept_in_order(text, words)
            kept_marks = kept_in_order(text, unmarked)
            fodt = os.path.join(lo_dir, name[:-5] + '.fodt')
            lo = libreoffice_words(fodt) if os.path.exists(fodt) else []
            ref = shown['words']
            matcher = difflib.SequenceMatcher(None, [w[0] for w in ref], [w[0] for w in lo], autojunk=False)
            mono = mono_kept = size_kept = font_kept = 0
            # Raised and lowered text has a position, not a size, in LibreOffice.
            sized = [w for w in ref if not w[3]]
            font_total = sum(1 for w in sized if abs(w[2] - 12) >= 0.5)
            mono_total = sum(w[1] for w in ref)
            for block in matcher.get_matching_blocks():
                for k in range(block.size):
                    a, b = ref[block.a + k], lo[block.b + k]
                    if a[1]:
                        mono_kept += b[1]
                    if a[3]:
                        continue
                    if abs(a[2] - b[2]) < 0.5:
                        size_kept += 1
                        if abs(a[2] - 12) >= 0.5:
                            font_kept += 1
            errors = html5lib_errors(path)
            with open(path, 'rb') as f:
                controls = len(CONTROL.findall(f.read()))
            print('%-16s words %5d  pandoc %5.1f%% (%5.1f%%)  mono %4d/%4d  size %5d/%5d (other than 12pt %4d/%4d)  html5lib %3d  controls %d'
                  % (name, len(text), 100.0 * kept / max(1, len(text)), 100.0 * kept_marks / max(1, len(text)),
                     mono_kept, mono_total, size_kept, len(sized), font_kept, font_total, len(errors), controls))
            totals['fonts'] += font_total
            totals['fonts_kept'] += font_kept
            totals['words'] += len(text)
            totals['pandoc'] += kept
            totals['pandoc_marks'] += kept_marks
            totals['mono'] += mono_total
            totals['mono_kept'] += mono_kept
            totals['sized'] += len(sized)
            totals['size_kept'] += size_kept
            totals['errors'] += len(errors)
            totals['with_errors'] += 1 if errors else 0
            totals['controls'] += controls
            totals['with_controls'] += 1 if controls else 0
    t = totals
    print('total: %d files, %d words; pandoc keeps %.2f%% (%.2f%% with its sub- and superscripts as plain digits); '
          'LibreOffice keeps %d of %d fixed-width words (%.1f%%) and %d of %d sizes (%.1f%%), '
          '%d of %d sizes other than 12pt (%.1f%%); '
          'html5lib: %d errors in %d files; control bytes: %d in %d files'
          % (len(files), t['words'], 100.0 * t['pandoc'] / max(1, t['words']),
             100.0 * t['pandoc_marks'] / max(1, t['words']), t['mono_kept'], t['mono'],
             100.0 * t['mono_kept'] / max(1, t['mono']), t['size_kept'], t['sized'],
             100.0 * t['size_kept'] / max(1, t['sized']), t['fonts_kept'], t['fonts'],
             100.0 * t['fonts_kept'] / max(1, t['fonts']), t['errors'], t['with_errors'], t['controls'],
             t['with_controls']))


if __name__ == '__main__':
    main()
