// Whole check runs over a small game folder decoded from the input (the
// encoding is described in fuzz_support.h): start-up, then the check run of
// every venue. Every run must write its venue section, and the folder must
// come out as it went in, apart from the changes the checker documents.

#include <string>

#include "check/checker.h"
#include "common/scrambled_file.h"
#include "folder_snapshot.h"
#include "fuzz_support.h"
#include "report/recording_pane.h"

using namespace venuecheck;

namespace {

bool HoldsScrambledFile(const std::vector<fuzz::GameEntry>& entries) {
    for (const auto& entry : entries) {
        if (IsScrambled(entry.content)) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    const auto entries = fuzz::DecodeGame(input);
    fuzz::ScratchFolder scratch;
    fuzz::WriteGame(entries, input, scratch.Path());
    const auto before = snapshot::TakeSnapshot(scratch.Path());

    Checker checker{GameFolder(scratch.Path())};
    checker.StartUp();
    const size_t venues = checker.VenueNames().size();
    if (venues == 0) fuzz::Fail("no venue was found");
    for (size_t position = 0; position < venues; ++position) {
        RecordingPane pane;
        Report report(pane);
        if (!checker.CheckRun(static_cast<int>(position), report))
            fuzz::Fail("a venue was not checked");
        if (pane.PlainText().find("Venue details") == std::string::npos) {
            fuzz::Fail("a check run wrote no venue section");
        }
    }
    checker.ShutDown();

    const std::string changes = snapshot::UndocumentedChanges(
        before, snapshot::TakeSnapshot(scratch.Path()), HoldsScrambledFile(entries));
    if (!changes.empty()) fuzz::Fail("the check runs changed the game folder", changes);
    return 0;
}
