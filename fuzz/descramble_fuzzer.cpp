// Scrambled data files: the in-memory permutation both ways, and the file
// reader with its temporary plain copy in a real folder.

#include <string>

#include "common/game_folder.h"
#include "common/scrambled_file.h"
#include "fuzz_support.h"

using namespace venuecheck;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);

    const std::string plain = Descramble(bytes);
    const size_t expectedSize =
        bytes.size() > kScrambledHeaderSize ? bytes.size() - kScrambledHeaderSize : 0;
    if (plain.size() != expectedSize) fuzz::Fail("descrambled size wrong");
    const std::string scrambled = Scramble(bytes);
    if (!IsScrambled(scrambled)) fuzz::Fail("a scrambled file is not recognised");
    if (Descramble(scrambled) != bytes) fuzz::Fail("descrambling does not undo scrambling");
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (DescrambleByte(ScrambleByte(b)) != b) fuzz::Fail("byte permutation not undone");
    }

    // The reader, with and without a data folder for the plain copy; an
    // existing plain copy is overwritten only when the file is scrambled, and
    // never left behind.
    for (const bool dataFolder : {true, false}) {
        fuzz::ScratchFolder scratch;
        if (!scratch.Write("venues/a.ven", bytes)) fuzz::Fail("cannot write the input");
        if (dataFolder && !scratch.Write(std::string(kTempPlainCopy), "old copy")) {
            fuzz::Fail("cannot write the old plain copy");
        }
        const GameFolder folder(scratch.Path());
        const PlainText text = ReadDataFile(folder, "VENUES/A.VEN");
        if (!text.opened) fuzz::Fail("the file was not opened");
        if (text.scrambled != IsScrambled(bytes)) fuzz::Fail("scrambled flag wrong");
        if (text.bytes != (text.scrambled ? plain : std::string(bytes)))
            fuzz::Fail("content wrong");
        if (dataFolder) {
            const auto copy = folder.ReadFile(kTempPlainCopy);
            if (text.scrambled ? copy.has_value() : copy != "old copy") {
                fuzz::Fail("the plain copy was left behind or changed");
            }
        }
    }
    return 0;
}
