// The maximum-size table: the bytes as the content of "maxsize.txt".

#include <string>

#include "common/text.h"
#include "fuzz_support.h"
#include "species/max_size_table.h"

using namespace venuecheck;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MaxSizeTable table;
    table.ReadMaxSizeText(fuzz::AsText(data, size));
    const auto& entries = table.Entries();
    for (const MaxSizeEntry& entry : entries) {
        if (entry.name.size() > kMaxSizeNameLength)
            fuzz::Fail("name longer than 59 characters", entry.name);
        if (entry.name.find('\n') != std::string::npos ||
            entry.name.find('\0') != std::string::npos) {
            fuzz::Fail("line end or NUL in a name", entry.name);
        }
        // The last line that names the species wins.
        int32_t expected = 0;
        for (const MaxSizeEntry& other : entries) {
            if (EqualNoCase(other.name, entry.name)) expected = other.maxSize;
        }
        if (table.FindMaxSize(entry.name) != expected)
            fuzz::Fail("look-up does not find the last line", entry.name);
        if (table.FindMaxSize(FoldedCopy(entry.name)) != expected)
            fuzz::Fail("look-up minds letter case");
    }
    if (table.FindMaxSize(std::nullopt) != 0)
        fuzz::Fail("a look-up without a name found something");
    return 0;
}
