#!/usr/bin/python3
"""The web report in a real browser.

For every fixture and the sample game, the page of `venuecheck --format html`
is opened in headless Chromium with a script that measures what a person
sees: the text of the report pane, where the values of the detail lines
start, what the toggles hide and show and the counts they give, where the
links of the venue table lead, the size the maps decode at. The pane's text
must be the text report exactly; the finding lines must be the JSON report's
findings, in order, with their rule and file:line.

usage: html_page_test.py VENUECHECK TESTS_DIR SAMPLE_GAME
Exits 77 (skipped) when Chromium is not installed.
"""

import base64
import concurrent.futures
import html
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

import html5lib

# Runs in the page once it has loaded, after the page's own script, and
# writes what it measured into the page as JSON.
MEASURE = r"""
window.addEventListener('load', function () {
  var out = {};
  var kinds = ['error', 'warning', 'advice', 'detail'];
  var cls = {error: 'e', warning: 'w', advice: 'a', detail: 'd'};
  function visible(el) { return el.getClientRects().length > 0; }
  function shownOf(c) {
    return Array.prototype.filter.call(document.querySelectorAll('.ln.' + c), visible).length;
  }
  function state() {
    var s = {hash: location.hash, shown: document.getElementById('shown').textContent,
             checked: {}, visible: {}, rows: []};
    kinds.forEach(function (k) {
      s.checked[k] = document.getElementById('show-' + k).checked;
      s.visible[k] = shownOf(cls[k]);
    });
    document.querySelectorAll('table.venues .shown').forEach(function (td) {
      s.rows.push(+td.textContent);
    });
    return s;
  }

  // The pane's text of each check run; a byte without a character counts
  // as the byte it stands for.
  out.sections = Array.prototype.map.call(document.querySelectorAll('section.check'), function (sec) {
    var text = '';
    sec.querySelectorAll('.ln').forEach(function (ln) {
      var walk = document.createTreeWalker(ln, NodeFilter.SHOW_TEXT), node;
      while ((node = walk.nextNode())) {
        var b = node.parentElement.closest('.b');
        text += b ? String.fromCharCode(0xE000 + parseInt(b.getAttribute('data-b'), 16)) : node.data;
      }
    });
    return {id: sec.id, venue: sec.getAttribute('aria-label'), text: text};
  });

  // Where each detail line's value starts, from the left of its pane.
  out.details = [];
  document.querySelectorAll('.pane').forEach(function (pane, p) {
    var left = pane.getBoundingClientRect().left;
    Array.prototype.forEach.call(pane.children, function (ln, i) {
      if (!ln.classList.contains('d')) return;
      var tabs = ln.querySelectorAll('.t');
      if (tabs.length < 2) return;
      out.details.push({pane: p, line: i, section: ln.closest('section').id,
                        x: tabs[tabs.length - 1].getBoundingClientRect().right - left,
                        text: ln.textContent});
    });
  });

  out.findings = Array.prototype.map.call(document.querySelectorAll('.ln.f'), function (ln) {
    var href = ln.querySelector('a').getAttribute('href');
    return {cls: ln.className, rule: ln.getAttribute('data-rule'), title: ln.title, href: href,
            helps: !!document.getElementById(href.slice(1)), text: ln.textContent};
  });

  out.maps = Array.prototype.map.call(document.querySelectorAll('figure.map'), function (f) {
    var img = f.querySelector('img');
    var heading = f.parentElement.querySelector('.ln.h');
    var m = {peg: heading ? heading.textContent : '', note: f.textContent};
    if (img) {
      m.natural = [img.naturalWidth, img.naturalHeight];
      m.attributes = [+img.getAttribute('width'), +img.getAttribute('height')];
      m.complete = img.complete;
      m.src = img.getAttribute('src');
    }
    return m;
  });
  out.pegSections = Array.prototype.filter.call(document.querySelectorAll('.ln.h'), function (h) {
    return h.textContent.indexOf('\nPeg details for ') === 0;
  }).length;

  out.toggleBar = visible(document.querySelector('nav.toggles'));
  out.counts = {};
  kinds.forEach(function (k) {
    out.counts[k] = [+document.getElementById('count-' + k).getAttribute('data-n'),
                     document.querySelectorAll('.ln.' + cls[k]).length];
  });
  out.initial = state();

  if (location.hash === '') {
    out.toggles = {};
    kinds.forEach(function (k) {
      var box = document.getElementById('show-' + k);
      box.click();
      var off = state();
      box.click();
      out.toggles[k] = {off: off, on: state()};
    });
    out.links = Array.prototype.map.call(document.querySelectorAll('table.venues a'), function (a) {
      a.click();
      var id = a.getAttribute('href').slice(1), el = document.getElementById(id);
      return {text: a.textContent, id: id, hash: location.hash, exists: !!el,
              venue: el ? el.getAttribute('aria-label') : null,
              top: el ? el.getBoundingClientRect().top : null, scrollY: window.scrollY,
              maxScroll: document.documentElement.scrollHeight - window.innerHeight};
    });
  }
  var pre = document.createElement('pre');
  pre.id = 'measured';
  pre.textContent = JSON.stringify(out);
  document.body.appendChild(pre);
});
"""

FAILURES = []


def check(condition, message):
    if not condition:
        FAILURES.append(message)
    return condition


def run(venuecheck, game, *args):
    return subprocess.run([venuecheck, "--game-dir", game, *args], capture_output=True, timeout=300)


def copy_game(source, into):
    shutil.copytree(source, into)
    return into


def page_bytes(text):
    """The report bytes that a page's text stands for (code page 1252)."""
    out = bytearray()
    for ch in text:
        code = ord(ch)
        if 0xE000 <= code < 0xE100:
            out.append(code - 0xE000)
        elif code < 0x80 or 0xA0 <= code < 0x100:
            out.append(code)
        else:
            out += ch.encode("cp1252")
    return bytes(out)


def png_size(data_uri):
    png = base64.b64decode(data_uri.split(",", 1)[1])
    if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
        return None
    return list(struct.unpack(">II", png[16:24]))


class Browser:
    def __init__(self, work, tahoma):
        self.work = work
        self.env = dict(os.environ)
        if tahoma:
            # A face with Tahoma's widths, as the pane was laid out for.
            conf = os.path.join(work, "fonts.conf")
            with open(conf, "w") as f:
                f.write('<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd">'
                        "<fontconfig><include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                        "<dir>/usr/share/wine/fonts</dir>"
                        "</fontconfig>")
            self.env["FONTCONFIG_FILE"] = conf
        self.runs = 0

    def measure(self, page, fragment=""):
        with open(page, encoding="utf-8") as f:
            text = f.read()
        self.runs += 1
        probe = f"{page}.{self.runs}.measure.html"
        with open(probe, "w", encoding="utf-8") as f:
            f.write(text.replace("</body>", "<script>" + MEASURE + "</script>\n</body>"))
        profile = tempfile.mkdtemp(dir=self.work, prefix="profile")
        result = subprocess.run(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
             "--no-first-run", "--window-size=1200,900", f"--user-data-dir={profile}",
             "--dump-dom", "file://" + probe + fragment],
            capture_output=True, timeout=180, env=self.env)
        found = re.search(r'<pre id="measured">(.*?)</pre>', result.stdout.decode("utf-8"), re.S)
        if not found:
            raise RuntimeError(f"no measurements from {probe}: {result.stderr.decode()[-2000:]}")
        return json.loads(html.unescape(found.group(1)))


def detail_blocks(details):
    """Detail lines that follow each other in one pane, as lists."""
    blocks = []
    for d in details:
        if blocks and blocks[-1][-1]["pane"] == d["pane"] and blocks[-1][-1]["line"] + 1 == d["line"]:
            blocks[-1].append(d)
        else:
            blocks.append([d])
    return blocks


def check_page(name, page, text, findings, m, tahoma):
    # The pane's text whole and in order.
    got = b"".join(page_bytes(s["text"]) + b"\n" for s in m["sections"])
    check(got == text, f"{name}: the page's pane text differs from the text report")

    # The values of the detail lines in one column.
    for block in detail_blocks(m["details"]):
        xs = {round(d["x"], 1) for d in block}
        check(len(xs) == 1, f"{name}: values of {[d['text'] for d in block]} start at {sorted(xs)}")
    if tahoma:
        # With Tahoma's widths every value sits on the tab stop the pane
        # puts it on: 2 inches, and 1.5 for the stock summary's lines.
        for d in m["details"]:
            want = 144 if d["text"].startswith("\n\t : ") else 192
            check(abs(d["x"] - want) < 0.5, f"{name}: {d['text']!r} starts at {d['x']}, not {want}")

    # Finding lines: the JSON findings in order, rule and file:line on hover,
    # a link to help that the page holds.
    check(len(m["findings"]) == len(findings),
          f"{name}: {len(m['findings'])} finding lines, {len(findings)} findings")
    letters = {"error": "e", "warning": "w", "advice": "a"}
    for line, finding in zip(m["findings"], findings):
        where = finding.get("file", "")
        if where and finding.get("line"):
            where += f":{finding['line']}"
        title = finding["rule"] + (f" \u00b7 {where}" if where else "")
        check(line["title"] == title, f"{name}: title {line['title']!r}, want {title!r}")
        check(line["cls"] == "ln f " + letters[finding["severity"]], f"{name}: class {line['cls']}")
        check(line["href"] == "#rule-" + finding["rule"] and line["helps"],
              f"{name}: {line['href']} leads nowhere")

    # Counts of the toggles, and what they hide.
    for kind, (count, lines) in m["counts"].items():
        check(count == lines, f"{name}: toggle {kind} counts {count}, the page has {lines} lines")
    check(m["toggleBar"], f"{name}: the toggles are not shown")
    total = sum(c for c, _ in m["counts"].values())
    check(m["initial"]["shown"] == f"Showing {total} of {total} lines", f"{name}: {m['initial']['shown']}")
    for kind, t in m.get("toggles", {}).items():
        off, on = t["off"], t["on"]
        hidden = m["counts"][kind][0]
        check(off["visible"][kind] == 0, f"{name}: {kind} lines still shown when hidden")
        for other in m["counts"]:
            if other != kind:
                check(off["visible"][other] == m["counts"][other][0],
                      f"{name}: hiding {kind} hid {other} lines")
        check(off["shown"] == f"Showing {total - hidden} of {total} lines", f"{name}: {off['shown']}")
        rest = ",".join(k for k in ["error", "warning", "advice", "detail"] if k != kind)
        check(off["hash"] == "#show=" + rest, f"{name}: hiding {kind} gives the address {off['hash']}")
        check(sum(off["rows"]) == total - hidden, f"{name}: venue rows show {off['rows']}")
        check(on["visible"] == {k: c for k, (c, _) in m["counts"].items()} and on["hash"] == "",
              f"{name}: showing {kind} again gives {on}")

    # Each venue link reaches its section.
    for link in m.get("links", []):
        reached = link["exists"] and (0 <= link["top"] <= 60 or
                                      (link["scrollY"] >= link["maxScroll"] - 1 and link["top"] >= 0))
        check(reached, f"{name}: the link {link['text']!r} does not reach {link['id']}: {link}")
        check(link["hash"] == "#" + link["id"], f"{name}: link address {link['hash']}")
        check(link["venue"] == (link["text"] if link["text"] != "(no name)" else ""),
              f"{name}: link {link['text']!r} leads to {link['venue']!r}")

    # A map or a note beside every peg section; maps decode at their size.
    check(len(m["maps"]) == m["pegSections"], f"{name}: {len(m['maps'])} maps, {m['pegSections']} pegs")
    for map_ in m["maps"]:
        if "natural" in map_:
            check(map_["complete"] and map_["natural"] == map_["attributes"] and map_["natural"][0] > 0,
                  f"{name}: map of {map_['peg']!r} decodes at {map_['natural']}, not {map_['attributes']}")
            check(png_size(map_["src"]) == map_["attributes"], f"{name}: PNG size of {map_['peg']!r}")
        else:
            check(map_["note"].startswith("No map: "), f"{name}: {map_['peg']!r} has {map_['note']!r}")

    # Valid HTML5: no parse error.
    with open(page, "rb") as f:
        try:
            html5lib.HTMLParser(strict=True).parse(f.read())
        except html5lib.html5parser.ParseError as error:
            check(False, f"{name}: HTML parse error {error}")


def main():
    venuecheck, tests_dir, sample = sys.argv[1:4]
    if shutil.which("chromium") is None:
        print("chromium is not installed (scripts/install-deps browser)")
        return 77
    tahoma = os.path.isfile("/usr/share/wine/fonts/tahoma.ttf")
    fixtures = os.path.join(tests_dir, "fixtures")
    games = [(f, os.path.join(fixtures, f, "game")) for f in sorted(os.listdir(fixtures))
             if os.path.isdir(os.path.join(fixtures, f, "game"))]
    games.append(("sample-game", sample))

    with tempfile.TemporaryDirectory() as work:
        browser = Browser(work, tahoma)
        plain = Browser(work, False)
        jobs = []
        for name, game in games:
            # A check run changes its game folder: a fresh copy for each.
            text = run(venuecheck, copy_game(game, f"{work}/{name}-text"), "--format", "text").stdout
            report = json.loads(run(venuecheck, copy_game(game, f"{work}/{name}-json"),
                                    "--format", "json").stdout)
            findings = [f for c in report["checks"] for f in c["findings"]]
            page = f"{work}/{name}.html"
            result = run(venuecheck, copy_game(game, f"{work}/{name}-html"), "--format", "html",
                         "--output", page)
            check(result.returncode in (0, 1), f"{name}: html exit status {result.returncode}")
            jobs.append((name, page, text, findings))

        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            measured = list(pool.map(lambda job: browser.measure(job[1]), jobs))
            # Without a face of Tahoma's widths the values still line up.
            sample_job = jobs[-1]
            fallback = pool.submit(plain.measure, sample_job[1])
            errors_only = pool.submit(browser.measure, sample_job[1], "#show=error")
            for job, m in zip(jobs, measured):
                check_page(job[0], *job[1:], m, tahoma)
            check_page("sample-game without Tahoma", *sample_job[1:], fallback.result(), False)

            # A link can open "errors only".
            m = errors_only.result()
            check(m["initial"]["checked"] == {"error": True, "warning": False, "advice": False,
                                               "detail": False}, f"#show=error checks {m['initial']}")
            check(m["initial"]["visible"] == {"error": m["counts"]["error"][0], "warning": 0,
                                               "advice": 0, "detail": 0},
                  f"#show=error shows {m['initial']['visible']}")

        # The sample game has maps; the fixture of unreadable grids has notes.
        sample_maps = measured[-1]["maps"]
        check(sum("natural" in m for m in sample_maps) >= 10, "the sample game's maps are missing")
        unreadable = dict(zip([j[0] for j in jobs], measured)).get("pegs-unreadable-data")
        if check(unreadable is not None, "no pegs-unreadable-data fixture"):
            notes = [m for m in unreadable["maps"] if "natural" not in m]
            check(len(notes) >= 9, f"only {len(notes)} notes for grids that cannot be analysed")

        # --no-maps: none.
        page = f"{work}/no-maps.html"
        run(venuecheck, copy_game(sample, f"{work}/no-maps"), "--format", "html", "--no-maps",
            "--output", page)
        with open(page, encoding="utf-8") as f:
            content = f.read()
        check("<figure" not in content and "data:image/png" not in content, "--no-maps still has maps")

    for failure in FAILURES:
        print("FAIL:", failure)
    print(f"{len(jobs)} pages measured in Chromium, {len(FAILURES)} failures")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
