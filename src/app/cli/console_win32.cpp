#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string>

#include "app/cli/console.h"
#include "common/host_path.h"

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace venuecheck {
namespace {

// The mode of a console; none when the handle is a file, a pipe or nothing.
std::optional<DWORD> ConsoleMode(HANDLE handle) {
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return std::nullopt;
    if (GetConsoleMode(handle, &mode) == 0) return std::nullopt;
    return mode;
}

// Writes 8-bit text in the ANSI code page to a console as UTF-16, so that
// the console shows the letters of the game's names whatever its own code
// page.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

protected:
    int_type overflow(int_type c) override {
        if (!Flush()) return traits_type::eof();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        if (pptr() == epptr()) return traits_type::eof();
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        if (traits_type::to_char_type(c) == '\n' && !Flush()) return traits_type::eof();
        return c;
    }

    // Line by line, as a terminal's standard output is written elsewhere,
    // so that the report and a line on standard error come in their order.
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        const std::streamsize written = std::streambuf::xsputn(text, count);
        if (std::char_traits<char>::find(text, static_cast<size_t>(written), '\n') != nullptr &&
            !Flush()) {
            return 0;
        }
        return written;
    }

    int sync() override { return Flush() ? 0 : -1; }

private:
    bool Flush() {
        const char* begin = pbase();
        const size_t count = static_cast<size_t>(pptr() - pbase());
        // The lead byte of a double-byte code page waits for the byte that
        // ends its letter.
        size_t complete = 0;
        while (complete < count) {
            const size_t length = IsDBCSLeadByte(static_cast<BYTE>(begin[complete])) ? 2 : 1;
            if (complete + length > count) break;
            complete += length;
        }
        bool written = Write(begin, complete);
        const size_t rest = count - complete;
        std::memmove(buffer_.data(), begin + complete, rest);
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        pbump(static_cast<int>(rest));
        // A lone lead byte that fills the buffer cannot wait any longer.
        if (rest == buffer_.size()) written = Write(buffer_.data(), rest) && written;
        return written;
    }

    bool Write(const char* text, size_t size) {
        if (size == 0) return true;
        const int length = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), nullptr, 0);
        if (length <= 0) return false;
        std::wstring wide(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), wide.data(), length);
        size_t done = 0;
        while (done < wide.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
            DWORD wrote = 0;
            if (WriteConsoleW(console_, wide.data() + done, chunk, &wrote, nullptr) == 0 ||
                wrote == 0) {
                return false;
            }
            done += wrote;
        }
        return true;
    }

    HANDLE console_;
    std::array<char, 4096> buffer_{};
};

}  // namespace

struct Console::State {
    HANDLE output = nullptr;
    HANDLE error = nullptr;
    std::optional<DWORD> outputMode;  // as the program found them
    std::optional<DWORD> errorMode;
    bool outputColours = false;
    std::optional<ConsoleBuffer> outputBuffer;
    std::optional<ConsoleBuffer> errorBuffer;
    std::streambuf* outputBefore = nullptr;
    std::streambuf* errorBefore = nullptr;
    std::streambuf* logBefore = nullptr;
};

Console::Console() : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.output = GetStdHandle(STD_OUTPUT_HANDLE);
    state.error = GetStdHandle(STD_ERROR_HANDLE);
    state.outputMode = ConsoleMode(state.output);
    state.errorMode = ConsoleMode(state.error);

    // A file or a pipe gets the report's bytes as they are, without a CR
    // before each LF.
    if (!state.outputMode) _setmode(_fileno(stdout), _O_BINARY);
    if (!state.errorMode) _setmode(_fileno(stderr), _O_BINARY);

    const DWORD escapeCodes = ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING;
    if (state.outputMode) {
        // Consoles older than Windows 10 refuse the mode: plain text then.
        state.outputColours = SetConsoleMode(state.output, *state.outputMode | escapeCodes) != 0;
        state.outputBuffer.emplace(state.output);
        state.outputBefore = std::cout.rdbuf(&*state.outputBuffer);
    }
    if (state.errorMode) {
        SetConsoleMode(state.error, *state.errorMode | escapeCodes);
        state.errorBuffer.emplace(state.error);
        state.errorBefore = std::cerr.rdbuf(&*state.errorBuffer);
        state.logBefore = std::clog.rdbuf(&*state.errorBuffer);
    }
}

Console::~Console() {
    State& state = *state_;
    if (state.errorBuffer) {
        std::cerr.flush();
        std::cerr.rdbuf(state.errorBefore);
        std::clog.rdbuf(state.logBefore);
    }
    if (state.outputBuffer) {
        std::cout.flush();
        std::cout.rdbuf(state.outputBefore);
    }
    // Standard output and error are often one console: restored in the
    // opposite order, it ends in the mode it had.
    if (state.errorMode) SetConsoleMode(state.error, *state.errorMode);
    if (state.outputMode) SetConsoleMode(state.output, *state.outputMode);
}

bool Console::OutputTakesColours() const {
    return state_->outputColours;
}

bool Console::ErrorIsTerminal() const {
    return state_->errorMode.has_value();
}

std::filesystem::path GameFolderPath(const std::string& argument) {
    // Below this length every path the game's data names in the folder is
    // likely to fit.
    constexpr size_t kLongFolder = 160;
    const std::filesystem::path path = HostPath(argument);
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec || full.native().size() < kLongFolder) return path;
    // The extended-length form lets the call read a name of any length.
    std::wstring name = full.native();
    std::replace(name.begin(), name.end(), L'/', L'\\');
    std::wstring prefix = L"\\\\?\\";
    if (name.rfind(L"\\\\", 0) == 0) {
        prefix = L"\\\\?\\UNC\\";
        name.erase(0, 2);
    }
    const std::wstring extended = prefix + name;
    const DWORD size = GetShortPathNameW(extended.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring shortName(size, L'\0');
    const DWORD length = GetShortPathNameW(extended.c_str(), shortName.data(), size);
    if (length == 0 || length >= size) return path;
    shortName.resize(length);
    if (shortName.rfind(prefix, 0) != 0) return path;
    shortName.erase(0, prefix.size());
    if (prefix.size() > 4) shortName.insert(0, L"\\\\");
    if (shortName.size() >= full.native().size()) return path;
    return shortName;
}

std::string WhyFolderIsMissing(const std::filesystem::path& folder) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(folder, ec);
    if (ec) return {};
    const std::wstring drive = full.root_name().native();
    if (drive.size() == 2 && drive[1] == L':') {
        const std::wstring root = drive + L"\\";
        if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) {
            return std::string(" (there is no drive ") + static_cast<char>(drive[0]) + ":)";
        }
    }
    const size_t length = full.native().size();
    if (length >= MAX_PATH) {
        return " (its path has " + std::to_string(length) +
               " characters, more than Windows opens where long paths are not enabled)";
    }
    return {};
}

}  // namespace venuecheck
