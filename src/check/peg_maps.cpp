#include "check/peg_maps.h"

#include <algorithm>
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

}  // namespace venuecheck
