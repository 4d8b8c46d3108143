// The peg stocks reader over a small game folder that holds a stock file,
// a graphic and an archive, so every check of a record can pass or fail.

#include <string>

#include "common/file_services.h"
#include "common/game_folder.h"
#include "fuzz_support.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "stocks/peg_stocking.h"
#include "stocks/stock_file_list.h"

using namespace venuecheck;

namespace {

// An empty zip archive that lists nothing, and the files the records name.
const fuzz::ScratchFolder& Game() {
    static const fuzz::ScratchFolder game;
    static const bool written = [] {
        game.Write("stocks/roach.stk", "REF ROACH\r\nEND\r\n");
        game.Write("gfx/roach.bmp", "BM");
        game.Write("gfx/abcdefghij.bmp", "BM");
        game.Write("pegs/empty.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
        return true;
    }();
    (void)written;
    return game;
}

size_t Occurrences(const std::string& text, std::string_view part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const GameFolder folder(Game().Path());
    RecordingPane pane;
    Report report(pane);
    StockFileList stockFiles;
    const int findings =
        CheckPegStocking(folder, report, "pegs\\a.fsh", fuzz::AsText(data, size), stockFiles);

    if (findings != report.Counts().errors + report.Counts().warnings + report.Counts().advice) {
        fuzz::Fail("the findings counted differ from the lines written");
    }
    const std::string text = pane.PlainText();
    if (Occurrences(text, "\tStocking - ") != (findings > 0 ? 1u : 0u)) {
        fuzz::Fail("the heading is not written exactly once for findings");
    }
    for (const std::string& name : stockFiles.NewestFirst()) {
        if (!FileExists(folder, name))
            fuzz::Fail("a stock file that does not exist was listed", name);
    }
    return 0;
}
