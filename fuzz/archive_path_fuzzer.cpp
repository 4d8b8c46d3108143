// Archive paths: splitting a path into archive and entry, and the existence
// test of an entry in a zip archive written from the input.
//
// Input: the first byte is the length of a path, then the path, then the
// bytes of the archive file.

#include <string>

#include "common/file_services.h"
#include "common/game_folder.h"
#include "fuzz_support.h"

using namespace venuecheck;

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

void CheckSplit(std::string_view path) {
    const size_t k = BaseNameIndex(path);
    if (k > path.size()) fuzz::Fail("base name index past the end");
    if (k > 0 && !IsSeparator(path[k - 1])) fuzz::Fail("base name does not follow a separator");
    for (char c : BaseName(path)) {
        if (IsSeparator(c)) fuzz::Fail("separator in a base name", std::string(path));
    }
    const auto split = SplitArchivePath(path);
    if (split.has_value() != IsArchivePath(path)) fuzz::Fail("archive path not recognised");
    if (!split) return;
    if (split->entry != BaseName(path)) fuzz::Fail("entry is not the base name", std::string(path));
    if (k > 1 && ":" + split->archive + path[k - 1] + split->entry != path) {
        fuzz::Fail("archive and entry do not make the path", std::string(path));
    }
    if (k == 1 && split->archive != split->entry) fuzz::Fail("lone ':' split wrong");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputReader in(fuzz::AsText(data, size));
    const std::string path(in.Bytes(in.Byte()));
    const std::string_view archive = in.Rest();
    CheckSplit(path);
    CheckSplit(fuzz::AsText(data, size));

    fuzz::ScratchFolder scratch;
    if (!scratch.Write("pegs/lake.zip", archive)) fuzz::Fail("cannot write the archive");
    const GameFolder folder(scratch.Path());
    const std::string entry(BaseName(path));
    const bool direct = ZipHasEntry((scratch.Path() / "pegs" / "lake.zip").string(), entry);
    // The same test through an archive path of the game's data, in another
    // letter case and with the other separators.
    if (FileExists(folder, ":PEGS\\Lake.zip:" + entry) != direct) {
        fuzz::Fail("archive path test differs from the direct test", entry);
    }
    (void)FileExists(folder, path);
    (void)FileExists(folder, ":" + path);
    return 0;
}
