#include "report/report_formats.h"

#include <cstdio>

namespace venuecheck {
namespace {

std::string Hex2(unsigned value) {
    char buffer[3];
    std::snprintf(buffer, sizeof buffer, "%02x", value & 0xFFu);
    return buffer;
}

}  // namespace

std::string RenderText(const std::vector<StyledRun>& runs) {
    std::string out;
    for (const auto& run : runs) out += run.text;
    out += '\n';
    return out;
}

std::string RenderAnsi(const std::vector<StyledRun>& runs) {
    std::string out;
    for (const auto& run : runs) {
        out += "\x1b[0";
        if (run.style.bold) out += ";1";
        // Black is the terminal's own foreground, so the report reads on dark
        // and light backgrounds alike.
        if (!(run.style.colour == style::kBlack)) {
            out += ";38;2;" + std::to_string(run.style.colour.red) + ";" +
                   std::to_string(run.style.colour.green) + ";" +
                   std::to_string(run.style.colour.blue);
        }
        out += "m";
        out += run.text;
    }
    out += "\x1b[0m\n";
    return out;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte >= 0x80) {
            out += "\\u00" + Hex2(byte);
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string RenderRuns(int check, std::string_view venue, const std::vector<StyledRun>& runs) {
    std::string out =
        "{\"check\": " + std::to_string(check) + ", \"venue\": " + JsonString(venue) + "}\n";
    for (const auto& run : runs) {
        const Rgb& c = run.style.colour;
        out += "{\"text\": " + JsonString(run.text) + ", \"font\": " + JsonString(run.style.face) +
               ", \"size\": " + std::to_string(run.style.size) + ", \"colour\": [" +
               std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
               std::to_string(c.blue) + "], \"bold\": " + (run.style.bold ? "true" : "false") +
               "}\n";
    }
    return out;
}

}  // namespace venuecheck
