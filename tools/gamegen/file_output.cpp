#include "gamegen/file_output.h"

#include <fstream>
#include <system_error>

namespace venuecheck::gamegen {

bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes, std::string& error) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) {
        error = "cannot create folder " + path.parent_path().string() + ": " + ec.message();
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot create " + path.string();
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string();
        return false;
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = "cannot read " + path.string() + ": " + ec.message();
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        error = "cannot read " + path.string();
        return false;
    }
    return true;
}

void FolderWriter::Write(std::string_view relative, std::string_view bytes) {
    if (!Ok()) return;
    if (!WriteWholeFile(root_ / std::filesystem::path(relative), bytes, error_)) return;
    ++files_;
    bytes_ += bytes.size();
}

void FolderWriter::MakeFolder(std::string_view relative) {
    if (!Ok()) return;
    std::error_code ec;
    const auto path = root_ / std::filesystem::path(relative);
    std::filesystem::create_directories(path, ec);
    if (ec) error_ = "cannot create folder " + path.string() + ": " + ec.message();
}

}  // namespace venuecheck::gamegen
