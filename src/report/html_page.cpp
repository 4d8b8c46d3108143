#include "report/html_page.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <string_view>

#include "common/png_image.h"
#include "report/rules.h"

namespace venuecheck {
namespace {

// The characters of code page 1252 for the bytes 0x80 to 0x9F; 0 where the
// code page has none.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Hex2(unsigned byte) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02x", byte & 0xFF);
    return buffer;
}

// The character a byte of the game's 8-bit text stands for; none for a
// control character or a byte the code page leaves undefined.
uint32_t CharacterOf(unsigned char byte) {
    if (byte >= 0x20 && byte < 0x7F) return byte;
    if (byte >= 0xA0) return byte;
    if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
    return 0;
}

// 8-bit text in an attribute or an element whose text is not the pane's:
// escaped, and a byte without a character shown as U+FFFD.
std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
                out += ' ';
                break;
            case '\n':
                out += ' ';
                break;
            default: {
                const uint32_t code = CharacterOf(byte);
                AppendUtf8(out, code != 0 ? code : 0xFFFD);
            }
        }
    }
    return out;
}

// Pane text: every tab a box of its own, which the page's script widens to
// the next tab stop; a byte without a character as a visible sign in an
// element that keeps the byte, so that the page holds the text exactly.
void AppendPaneText(std::string& out, std::string_view text) {
    size_t plain = 0;  // the start of the stretch that needs no escape
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // Printable ASCII but the markup characters, and line breaks, go as
        // they are, a stretch at a time.
        if ((byte >= 0x20 && byte < 0x7F && byte != '&' && byte != '<' && byte != '>') ||
            byte == '\n') {
            continue;
        }
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        switch (byte) {
            case '&':
                out.append("&amp;");
                break;
            case '<':
                out.append("&lt;");
                break;
            case '>':
                out.append("&gt;");
                break;
            case '\t':
                out.append("<span class=\"t\">\t</span>");
                break;
            default: {
                const uint32_t code = CharacterOf(byte);
                if (code != 0) {
                    AppendUtf8(out, code);
                } else {
                    // Control characters as their pictures (U+2400 on).
                    const uint32_t sign = byte < 0x20    ? 0x2400 + byte
                                          : byte == 0x7F ? 0x2421
                                                         : 0xFFFD;
                    out.append("<span class=\"b\" data-b=\"").append(Hex2(byte)).append("\">");
                    AppendUtf8(out, sign);
                    out.append("</span>");
                }
            }
        }
    }
    out.append(text.substr(plain));
}

std::string CssColour(const Rgb& c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.red, c.green, c.blue);
    return buffer;
}

// A height in twips as the pixels a Windows pane draws it in at 96 dots an
// inch (whole pixels, rounded): 10 points are 13 pixels, not 13.33. The tab
// stops are laid out for those widths.
std::string Pixels(int twips) {
    const int pixels = (std::max(twips, 0) + 7) / 15;
    return std::to_string(pixels) + "px";
}

// The classes of the pane's styles, one a distinct style, shared by the page.
class StyleClasses {
public:
    const std::string& ClassOf(const TextStyle& style) {
        // The pieces of a run share its style.
        if (&style == last_) return *lastName_;
        last_ = &style;
        lastName_ = &Find(style);
        return *lastName_;
    }

    const std::string& Find(const TextStyle& style) {
        for (const auto& [known, name] : styles_) {
            if (known == style) return name;
        }
        // Appended, not "r" + number: GCC 12 warns wrongly about the latter at -O3.
        std::string name = "r";
        name += std::to_string(styles_.size());
        styles_.emplace_back(style, std::move(name));
        return styles_.back().second;
    }

    std::string Css() const {
        std::string css;
        for (const auto& [style, name] : styles_) {
            css += "." + name + "{font-family:'" + Escape(style.face) +
                   "','Liberation Sans',Arial,'DejaVu Sans Condensed',sans-serif;font-size:" +
                   Pixels(style.size) + ";color:" + CssColour(style.colour) +
                   (style.bold ? ";font-weight:bold}" : "}") + "\n";
        }
        return css;
    }

private:
    // A list: a report has a handful of styles. Its names stay in place.
    std::deque<std::pair<TextStyle, std::string>> styles_;
    const TextStyle* last_ = nullptr;
    const std::string* lastName_ = nullptr;
};

std::string_view SeverityLetter(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return "e";
        case Severity::kWarning:
            return "w";
        case Severity::kAdvice:
            return "a";
    }
    return "e";
}

// One line of the pane: from a line break (or the start) to the next.
struct TextLine {
    size_t offset = 0;  // where it starts in the pane's text
    std::vector<std::pair<const TextStyle*, std::string_view>> pieces;
    std::string text;
};

std::vector<TextLine> SplitLines(const std::vector<StyledRun>& runs) {
    std::vector<TextLine> lines(1);
    size_t offset = 0;
    for (const StyledRun& run : runs) {
        std::string_view text = run.text;
        while (!text.empty()) {
            if (text.front() == '\n' && offset > 0) {
                lines.emplace_back();
                lines.back().offset = offset;
            }
            // Up to the next line break after the first character.
            const size_t end = std::min(text.find('\n', 1), text.size());
            lines.back().pieces.emplace_back(&run.style, text.substr(0, end));
            lines.back().text.append(text.substr(0, end));
            offset += end;
            text.remove_prefix(end);
        }
    }
    return lines;
}

bool IsHeading(const TextLine& line) {
    bool any = false;
    for (const auto& [style, text] : line.pieces) {
        if (text.find_first_not_of('\n') == std::string_view::npos) continue;
        if (!style->bold && style->size <= style::kBodySize) return false;
        any = true;
    }
    return any;
}

bool IsBlank(const TextLine& line) {
    return line.text.find_first_not_of("\n") == std::string::npos;
}

constexpr std::string_view kPegHeading = "\nPeg details for ";

std::string MapFigure(const HtmlPegMap& map) {
    std::string out = "<figure class=\"map\">";
    if (!map.png.empty()) {
        out += "<img src=\"" + PngDataUri(map.png) + "\" width=\"" + std::to_string(map.width) +
               "\" height=\"" + std::to_string(map.height) + "\" alt=\"Map of the grid of " +
               Escape(map.dataFile) + "\">";
        out += "<figcaption>" + Escape(map.dataFile) + ", " + std::to_string(map.width) +
               " &times; " + std::to_string(map.height) + " pixels" +
               (map.width < 480 ? ", scaled down" : "") +
               " (<a href=\"#legend\">legend</a>)</figcaption>";
    } else if (map.analysed) {
        out += "<figcaption class=\"none\">No map: the grid of " + Escape(map.dataFile) +
               " has no rows of cells.</figcaption>";
    } else {
        out += "<figcaption class=\"none\">No map: the peg data file" +
               (map.dataFile.empty() ? std::string() : " " + Escape(map.dataFile)) +
               " could not be analysed.</figcaption>";
    }
    out += "</figure>";
    return out;
}

struct LineCounts {
    FindingCounts findings;  // finding lines by severity
    int details = 0;
};

void RenderCheck(std::string& out, const HtmlCheck& check, bool withMaps, StyleClasses& styles,
                 std::set<RuleId>& rulesShown, LineCounts& lineCounts) {
    const std::vector<TextLine> lines = SplitLines(check.runs);
    std::map<size_t, const RecordedFinding*> findingAt;
    for (const RecordedFinding& recorded : check.findings) {
        findingAt.emplace(recorded.textOffset, &recorded);
    }

    out += "<section class=\"check\" id=\"check-" + std::to_string(check.index) +
           "\" aria-label=\"" + Escape(check.venue) +
           "\">\n<div class=\"part\"><div class=\"pane\">";
    size_t pegs = 0;
    const HtmlPegMap* pendingMap = nullptr;
    bool pendingNote = false;
    const RecordedFinding* current = nullptr;  // the finding whose line goes on
    size_t currentEnd = 0;
    const auto closePart = [&] {
        out += "</div>";
        if (pendingMap != nullptr) out += MapFigure(*pendingMap);
        if (pendingNote) out += MapFigure(HtmlPegMap{});
        pendingMap = nullptr;
        pendingNote = false;
        out += "</div>\n<div class=\"part\"><div class=\"pane\">";
    };
    for (const TextLine& line : lines) {
        const bool heading = IsHeading(line);
        if (heading && line.text.rfind("\n", 0) == 0) closePart();
        if (heading && line.text.rfind(kPegHeading, 0) == 0 && withMaps) {
            if (pegs < check.maps.size()) {
                pendingMap = &check.maps[pegs];
            } else {
                pendingNote = true;
            }
            ++pegs;
        }

        const auto found = findingAt.find(line.offset);
        if (found != findingAt.end()) {
            current = found->second;
            currentEnd = line.offset + PaneLine(current->finding).size();
        } else if (current != nullptr && line.offset >= currentEnd) {
            current = nullptr;
        }

        if (current != nullptr) {
            const Finding& finding = current->finding;
            const Rule& rule = RuleOf(finding.rule);
            rulesShown.insert(finding.rule);
            std::string where = finding.file;
            if (!where.empty() && finding.line > 0) where += ":" + std::to_string(finding.line);
            out.append("<span class=\"ln f ")
                .append(SeverityLetter(finding.severity))
                .append("\" data-rule=\"")
                .append(rule.id)
                .append("\" title=\"")
                .append(rule.id);
            if (!where.empty()) out.append(" \xC2\xB7 ").append(Escape(where));
            out.append("\"><a href=\"#rule-").append(rule.id).append("\">");
            if (found != findingAt.end()) lineCounts.findings.Add(finding.severity);
        } else if (heading) {
            out.append("<span class=\"ln h\">");
        } else if (IsBlank(line)) {
            out.append("<span class=\"ln\">");
        } else {
            out.append("<span class=\"ln d\">");
            ++lineCounts.details;
        }
        for (const auto& [style, text] : line.pieces) {
            out.append("<span class=\"").append(styles.ClassOf(*style)).append("\">");
            AppendPaneText(out, text);
            out.append("</span>");
        }
        out.append(current != nullptr ? "</a></span>" : "</span>");
    }
    out += "</div>";
    if (pendingMap != nullptr) out += MapFigure(*pendingMap);
    if (pendingNote) out += MapFigure(HtmlPegMap{});
    out += "</div>\n</section>\n";
}

std::string Plural(int n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

constexpr std::string_view kPageStyle = R"(
:root{color-scheme:light}
body{margin:0;background:#fff;color:#000;font:14px/1.4 system-ui,'Segoe UI','DejaVu Sans',sans-serif}
header,main,#rules{padding:0 16px}
h1{font-size:20px;margin:12px 0 4px}
h2{font-size:16px;margin:16px 0 6px}
dl.run{display:grid;grid-template-columns:max-content auto;gap:0 12px;margin:4px 0}
dl.run dt{font-weight:bold}
dl.run dd{margin:0}
.totals .e,.venues td.e{color:#c80000}
.totals .w,.venues td.w{color:#780078}
.totals .a,.venues td.a{color:#006400}
nav.toggles{position:sticky;top:0;z-index:1;background:#f4f4f4;border-bottom:1px solid #ccc;padding:6px 16px;margin:8px 0}
nav.toggles label{margin-right:16px;white-space:nowrap}
nav.toggles output{color:#444}
table.venues{border-collapse:collapse;margin:8px 0}
table.venues th,table.venues td{border:1px solid #ccc;padding:2px 8px;text-align:left}
table.venues td.n{text-align:right}
table.legend{border-collapse:collapse;margin:4px 0 8px}
table.legend th,table.legend td{padding:1px 8px;text-align:left}
.legend .sw{display:inline-block;width:14px;height:14px;border:1px solid #888;vertical-align:middle;margin-right:6px}
section.check{border-top:2px solid #ccc;padding:8px 0;scroll-margin-top:40px}
#rules dt{scroll-margin-top:40px}
.part{display:flex;flex-wrap:wrap;align-items:flex-start;gap:0 24px}
.pane{flex:1 1 36em;min-width:0;white-space:pre-wrap;tab-size:48px;-moz-tab-size:48px}
.pane a{color:inherit;text-decoration:none}
.pane a:hover,.pane a:focus{text-decoration:underline}
.js .t{display:inline-block;width:0;overflow:hidden;vertical-align:top}
.map{margin:28px 0 8px;flex:0 0 auto;max-width:100%}
.map img{display:block;max-width:100%;height:auto;border:1px solid #888;image-rendering:pixelated}
.map figcaption{font-size:12px;color:#444;max-width:480px}
.map figcaption.none{font-style:italic}
.hide-error .ln.e,.hide-warning .ln.w,.hide-advice .ln.a,.hide-detail .ln.d{display:none}
#rules dt{font-weight:bold;margin-top:8px}
#rules dt code{font-weight:normal}
#rules dd{margin:2px 0 0 16px}
#rules dd p{margin:2px 0}
:target{background:#ffffd0}
@media print{
nav.toggles,.noprint{display:none}
section.check{break-before:page;border:0}
.map{break-inside:avoid}
#rules{break-before:page}
.pane a{color:inherit}
:target{background:none}
}
)";

// The page's script: the toggles and their state in the address, links
// that keep it, and the tab stops of the pane every half inch (48 CSS
// pixels). A tab goes to the next stop past where its text ends, as in the
// rich-edit pane; a block of detail lines whose face is wider than the
// report's own then still has its values in one column.
constexpr std::string_view kPageScript = R"(
(function () {
'use strict';
var kinds = ['error', 'warning', 'advice', 'detail'];
var cls = {error: 'e', warning: 'w', advice: 'a', detail: 'd'};
var root = document.documentElement;
var shown = {};
root.classList.add('js');

function layTabs() {
  var stop = 48;
  var panes = document.querySelectorAll('.pane');
  var tabs = document.querySelectorAll('.pane .t');
  var lefts = [], bases = [];
  for (var i = 0; i < tabs.length; i++) {
    lefts.push(tabs[i].getBoundingClientRect().left);
    bases.push(tabs[i].closest('.pane').getBoundingClientRect().left);
  }
  var widths = [], line = null, shift = 0, lines = [], last = null;
  for (var j = 0; j < tabs.length; j++) {
    var ln = tabs[j].closest('.ln');
    if (ln !== line) {
      line = ln; shift = 0;
      last = {ln: ln, tab: j, tabs: 0, value: 0};
      lines.push(last);
    }
    var x = lefts[j] - bases[j] + shift;
    var w = (Math.floor(x / stop + 1e-6) + 1) * stop - x;
    widths.push(w); shift += w;
    last.tab = j; last.tabs++; last.value = x + w;
  }
  // Detail lines in a row, each with a label and a value: one column.
  var run = [];
  function align() {
    var at = 0;
    run.forEach(function (l) { at = Math.max(at, l.value); });
    run.forEach(function (l) { widths[l.tab] += at - l.value; });
    run = [];
  }
  for (var k = 0; k < lines.length; k++) {
    var l = lines[k], n = lines[k + 1];
    if (l.tabs >= 2 && l.ln.classList.contains('d')) {
      run.push(l);
      if (!n || n.ln !== l.ln.nextElementSibling) align();
    } else {
      align();
    }
  }
  for (var m = 0; m < tabs.length; m++) tabs[m].style.width = widths[m] + 'px';
}

function parse() {
  var hash = decodeURIComponent(location.hash.slice(1));
  var state = {target: '', show: {}};
  var list = null;
  hash.split('&').forEach(function (part) {
    if (!part) return;
    var eq = part.indexOf('=');
    if (eq < 0) state.target = part;
    else if (part.slice(0, eq) === 'show') list = part.slice(eq + 1).split(',');
  });
  kinds.forEach(function (k) { state.show[k] = list === null || list.indexOf(k) >= 0; });
  return state;
}

function hashOf(target) {
  var parts = [];
  if (target) parts.push(target);
  var on = kinds.filter(function (k) { return shown[k]; });
  if (on.length !== kinds.length) parts.push('show=' + on.join(','));
  return parts.length ? '#' + parts.join('&') : location.pathname + location.search;
}

function count() {
  var total = 0, visible = 0;
  kinds.forEach(function (k) {
    var n = +document.getElementById('count-' + k).getAttribute('data-n');
    total += n;
    if (shown[k]) visible += n;
  });
  document.getElementById('shown').textContent = 'Showing ' + visible + ' of ' + total + ' lines';
  document.querySelectorAll('tr[data-check]').forEach(function (row) {
    var section = document.getElementById(row.getAttribute('data-check'));
    var n = 0;
    kinds.forEach(function (k) {
      if (shown[k]) n += section.querySelectorAll('.ln.' + cls[k]).length;
    });
    row.querySelector('.shown').textContent = n;
  });
}

function apply(show) {
  kinds.forEach(function (k) {
    shown[k] = show[k];
    root.classList.toggle('hide-' + k, !show[k]);
    document.getElementById('show-' + k).checked = show[k];
  });
  count();
}

function go(target) {
  history.replaceState(null, '', hashOf(target));
  var el = target && document.getElementById(target);
  if (el) el.scrollIntoView();
}

layTabs();
var start = parse();
apply(start.show);
document.querySelector('nav.toggles').hidden = false;
if (start.target) { var first = document.getElementById(start.target); if (first) first.scrollIntoView(); }
kinds.forEach(function (k) {
  document.getElementById('show-' + k).addEventListener('change', function (e) {
    shown[k] = e.target.checked;
    apply(shown);
    history.replaceState(null, '', hashOf(parse().target));
  });
});
document.addEventListener('click', function (e) {
  var a = e.target.closest && e.target.closest('a[href^="#"]');
  if (!a) return;
  e.preventDefault();
  go(a.getAttribute('href').slice(1));
});
window.addEventListener('hashchange', function () { apply(parse().show); });
})();
)";

}  // namespace

void WriteHtmlPage(std::ostream& page, const HtmlPageInfo& info,
                   const std::vector<HtmlCheck>& checks) {
    StyleClasses styles;
    std::set<RuleId> rulesShown;
    LineCounts lineCounts;
    // Room for all the sections at once: memory that grows by copies is
    // faulted in again and again, and a page of large maps is megabytes.
    size_t room = 1 << 16;
    for (const HtmlCheck& check : checks) {
        for (const StyledRun& run : check.runs) room += run.text.size() * 10;
        for (const HtmlPegMap& map : check.maps) room += map.png.size() * 4 / 3 + 1024;
    }
    std::string sections;
    sections.reserve(room);
    for (const HtmlCheck& check : checks) {
        RenderCheck(sections, check, info.maps, styles, rulesShown, lineCounts);
    }
    FindingCounts total;
    for (const HtmlCheck& check : checks) total += check.counts;

    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    out += "<meta name=\"generator\" content=\"" + Escape(info.header.toolName) + " " +
           Escape(info.header.toolVersion) + "\">\n";
    out += "<title>Venue check of " + Escape(info.header.gameDir) + "</title>\n<style>";
    out += kPageStyle;
    out += styles.Css();
    out += "</style>\n</head>\n<body>\n<header>\n<h1>Venue check report</h1>\n";
    out += "<dl class=\"run\"><dt>Game folder</dt><dd>" + Escape(info.header.gameDir) +
           "</dd><dt>Checked</dt><dd>" + Escape(info.checkedAt) + "</dd><dt>Venues</dt><dd>" +
           std::to_string(checks.size()) + "</dd><dt>Found</dt><dd class=\"totals\">" +
           "<span class=\"e\">" + Plural(total.errors, "error", "errors") +
           "</span>, <span class=\"w\">" + Plural(total.warnings, "warning", "warnings") +
           "</span>, <span class=\"a\">" + std::to_string(total.advice) +
           " advice</span></dd></dl>\n";

    const auto toggle = [](std::string_view kind, std::string_view label, int n) {
        return "<label><input type=\"checkbox\" id=\"show-" + std::string(kind) + "\" checked> " +
               std::string(label) + " <span class=\"n\" id=\"count-" + std::string(kind) +
               "\" data-n=\"" + std::to_string(n) + "\">(" + std::to_string(n) + ")</span></label>";
    };

    out +=
        "<table class=\"venues\"><thead><tr><th>Venue</th><th>File</th><th>Errors</th>"
        "<th>Warnings</th><th>Advice</th><th class=\"noprint\">Lines shown</th></tr></thead>"
        "<tbody>\n";
    for (const HtmlCheck& check : checks) {
        const std::string id = "check-" + std::to_string(check.index);
        // A venue without a name still needs a link.
        const std::string name = check.venue.empty() ? "(no name)" : Escape(check.venue);
        out += "<tr data-check=\"" + id + "\"><td><a href=\"#" + id + "\">" + name +
               "</a></td><td>" + Escape(check.venueFile) + "</td><td class=\"n e\">" +
               std::to_string(check.counts.errors) + "</td><td class=\"n w\">" +
               std::to_string(check.counts.warnings) + "</td><td class=\"n a\">" +
               std::to_string(check.counts.advice) +
               "</td><td class=\"n shown noprint\"></td></tr>\n";
    }
    out += "</tbody></table>\n";

    if (info.maps && !info.legend.empty()) {
        out +=
            "<h2 id=\"legend\">Peg maps</h2>\n<p>Each peg's map shows every cell of its data "
            "file at its place, one pixel a unit of the peg's picture (a row is 480 units "
            "wide); taller grids are scaled down.</p>\n<table class=\"legend\"><thead><tr>"
            "<th>Depth</th><th>Objects</th><th>No object</th></tr></thead><tbody>\n";
        const auto swatch = [](const Rgb& colour) {
            return "<span class=\"sw\" style=\"background:" + CssColour(colour) + "\"></span>";
        };
        for (const HtmlLegendEntry& entry : info.legend) {
            if (entry.bare) {
                out += "<tr><td>" + Escape(entry.label) + "</td><td>" + swatch(entry.colour) +
                       "</td><td>" + swatch(*entry.bare) + "</td></tr>\n";
            } else {
                out += "<tr><td colspan=\"3\">" + swatch(entry.colour) + Escape(entry.label) +
                       "</td></tr>\n";
            }
        }
        out += "</tbody></table>\n";
    }
    // Kept in view while the report scrolls.
    std::string nav;
    nav += "<nav class=\"toggles\" hidden aria-label=\"Lines shown\">";
    nav += toggle("error", "Errors", lineCounts.findings.errors);
    nav += toggle("warning", "Warnings", lineCounts.findings.warnings);
    nav += toggle("advice", "Advice", lineCounts.findings.advice);
    nav += toggle("detail", "Detail lines", lineCounts.details);
    nav += "<output id=\"shown\"></output></nav>\n";
    out += "</header>\n" + nav + "<main>\n";
    page << out;
    page << sections;
    out = "</main>\n";

    out += "<section id=\"rules\">\n<h2>Rules</h2>\n<dl>\n";
    for (const Rule& rule : Rules()) {
        if (rulesShown.count(rule.rule) == 0) continue;
        out += "<dt id=\"rule-" + std::string(rule.id) + "\"><code>" + std::string(rule.id) +
               "</code> (" + std::string(SeverityName(rule.severity)) + "): " + Escape(rule.title) +
               "</dt>\n<dd><p>" + Escape(RuleLine(rule)) + "</p><p>" + Escape(rule.help) +
               "</p></dd>\n";
    }
    out += "</dl>\n</section>\n<script>";
    out += kPageScript;
    out += "</script>\n</body>\n</html>\n";
    page << out;
}

std::string RenderHtmlPage(const HtmlPageInfo& info, const std::vector<HtmlCheck>& checks) {
    std::ostringstream page;
    WriteHtmlPage(page, info, checks);
    return std::move(page).str();
}

}  // namespace venuecheck
