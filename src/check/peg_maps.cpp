#include "check/peg_maps.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <utility>

#include "pegs/peg_catalogue.h"

namespace venuecheck {
namespace {

// What a picture viewer shows of a map file: which peg, and how to read it.
// The texts are Latin-1, as the game's 8-bit data is.
std::vector<PngText> MapTexts(const PegRecord& peg) {
    std::string legend = "The cells of " + peg.Data +
                         " at their places. Green: no water. Blue: water with an object. "
                         "Orange: water without any object. Lighter is shallower, in bands of";
    for (const PegMapDepthBand& band : PegMapDepthScale()) legend += " " + band.label + ",";
    legend.back() = '.';
    std::vector<PngText> texts = {{"Title", peg.Name}, {"Description", legend}};
    for (PngText& text : texts) std::replace(text.text.begin(), text.text.end(), '\0', ' ');
    return texts;
}

}  // namespace

void PegMapMaker::OnPegGrid(const PegRecord& peg, const PegDataGrid* grid,
                            std::optional<PegCellSize> cellSize) {
    PegMap map;
    map.pegName = peg.Name;
    map.pegFile = peg.path;
    map.dataFile = peg.Data;
    map.analysed = grid != nullptr;
    if (grid != nullptr && cellSize) {
        const IndexedImage image = DrawPegMap(*grid, *cellSize, peg.DPRatio);
        if (!image.Empty()) {
            map.png = EncodePng(image, MapTexts(peg));
            if (!map.png.empty()) {
                map.width = image.width;
                map.height = image.height;
            }
        }
    }
    maps_.push_back(std::move(map));
}

std::vector<PegMap> PegMapMaker::TakeMaps() {
    return std::exchange(maps_, {});
}

namespace {

namespace fs = std::filesystem;

// The base name of a path from the game's data ('\' and '/' both
// separators) without its extension, in characters every file system takes.
std::string PlainStem(std::string_view path, std::string_view fallback) {
    const size_t slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    std::string stem;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ' ';
        stem += plain ? c : '_';
    }
    // Windows drops dots and blanks at the end of a name.
    while (!stem.empty() && (stem.back() == '.' || stem.back() == ' ')) stem.pop_back();
    return stem.empty() ? std::string(fallback) : stem;
}

std::string Folded(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The name, or the name with " (2)", " (3)", ... that is not taken yet.
std::string Unique(const std::string& name, std::set<std::string>& taken,
                   std::string_view extension = "") {
    std::string candidate = name + std::string(extension);
    for (int n = 2; !taken.insert(Folded(candidate)).second; ++n) {
        candidate = name + " (" + std::to_string(n) + ")" + std::string(extension);
    }
    return candidate;
}

}  // namespace

std::optional<std::string> PegMapFolder::Prepare() const {
    const std::string cannot = "cannot write maps into '" + folder_.string() + "': ";
    std::error_code ec;
    fs::create_directories(folder_, ec);
    if (ec) return cannot + ec.message();
    if (!fs::is_directory(folder_, ec)) return cannot + "not a folder";
    const fs::path probe = folder_ / ".venuecheck-maps.tmp";
    bool written = false;
    {
        std::ofstream file(probe, std::ios::binary | std::ios::trunc);
        written = static_cast<bool>(file << "maps") && static_cast<bool>(file.flush());
    }
    fs::remove(probe, ec);
    if (!written) return cannot + "not writable";
    return std::nullopt;
}

std::optional<std::string> PegMapFolder::Write(std::string_view venueFile,
                                               const std::vector<PegMap>& maps) {
    const fs::path venueFolder = folder_ / Unique(PlainStem(venueFile, "venue"), venueFolders_);
    bool created = false;
    std::set<std::string> files;
    for (const PegMap& map : maps) {
        if (map.png.empty()) continue;
        if (!created) {
            std::error_code ec;
            fs::create_directories(venueFolder, ec);
            if (ec) return "cannot create '" + venueFolder.string() + "': " + ec.message();
            created = true;
        }
        const fs::path path = venueFolder / Unique(PlainStem(map.pegFile, "peg"), files, ".png");
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(map.png.data(), static_cast<std::streamsize>(map.png.size()));
        if (!file.flush()) return "cannot write '" + path.string() + "'";
        ++written_;
    }
    return std::nullopt;
}

HtmlPegMap ForPage(PegMap map) {
    HtmlPegMap shown;
    shown.png = std::move(map.png);
    shown.width = map.width;
    shown.height = map.height;
    shown.analysed = map.analysed;
    shown.pegName = std::move(map.pegName);
    shown.dataFile = std::move(map.dataFile);
    return shown;
}

std::vector<HtmlLegendEntry> PegMapLegend() {
    const auto rgb = [](PaletteColour c) { return Rgb{c.red, c.green, c.blue}; };
    std::vector<HtmlLegendEntry> legend;
    for (const PegMapDepthBand& band : PegMapDepthScale()) {
        legend.push_back({band.label, rgb(band.covered), rgb(band.bare)});
    }
    legend.push_back({"no water", rgb(kPegMapLand), std::nullopt});
    legend.push_back({"past the last whole cell of a row", rgb(kPegMapBeyond), std::nullopt});
    return legend;
}

}  // namespace venuecheck
