#include "support/test_support.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <stdexcept>

#include <sys/wait.h>

namespace fs = std::filesystem;

namespace venuecheck::test {

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / ("venuecheck-test-" + std::to_string(random()) + "-" +
                                         std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Tests may take permissions away; give them back so everything goes.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

void TempFolder::Write(std::string_view relative, std::string_view bytes) const {
    const fs::path file = path_ / fs::path(std::string(relative));
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string TempFolder::Read(std::string_view relative) const {
    return ReadWholeFile(path_ / fs::path(std::string(relative)));
}

bool TempFolder::Exists(std::string_view relative) const {
    std::error_code ec;
    return fs::exists(path_ / fs::path(std::string(relative)), ec);
}

void TempFolder::CopyFixture(std::string_view fixture) const {
    fs::copy(TestDataDir() / "fixtures" / fs::path(std::string(fixture)), path_,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

fs::path TestDataDir() {
    return fs::path(VENUECHECK_TEST_DATA_DIR);
}

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

CommandResult RunCommand(const std::string& command) {
    TempFolder capture;
    const fs::path out = capture.Path() / "out";
    const fs::path err = capture.Path() / "err";
    const int raw = std::system((command + " >" + ShellQuote(out.string()) + " 2>" +
                                 ShellQuote(err.string()) + " </dev/null")
                                    .c_str());
    CommandResult result;
    result.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
    result.out = ReadWholeFile(out);
    result.err = ReadWholeFile(err);
    return result;
}

std::string RandomBytes(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<char>(seed >> 24);
    }
    return bytes;
}

}  // namespace venuecheck::test
