// Runs a fuzz target over the inputs given on the command line, so every
// target builds and runs without libFuzzer. A folder stands for every file in
// it (names starting with '.' excepted), in name order.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool IsHidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name.front() == '.';
}

bool CollectInputs(const fs::path& argument, std::vector<fs::path>& inputs) {
    std::error_code ec;
    if (fs::is_directory(argument, ec)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(argument, ec)) {
            if (entry.is_regular_file(ec) && !IsHidden(entry.path())) files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
        return !ec;
    }
    if (fs::is_regular_file(argument, ec)) {
        inputs.push_back(argument);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!CollectInputs(argv[i], inputs)) {
            std::fprintf(stderr, "%s: no such input file or folder: %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        if (!in.eof() && in.fail()) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], input.string().c_str());
            return 2;
        }
        std::fprintf(stderr, "input %s (%zu bytes)\n", input.string().c_str(), bytes.size());
        // An exact-size block, so a read past the end is caught by the
        // address checker like under libFuzzer.
        const auto block = std::make_unique<uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), block.get());
        LLVMFuzzerTestOneInput(block.get(), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
    return 0;
}
