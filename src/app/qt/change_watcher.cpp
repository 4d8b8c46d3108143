#include "app/qt/change_watcher.h"

#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace venuecheck {
namespace {

long long Nanoseconds(const timespec& time) {
    return static_cast<long long>(time.tv_sec) * 1000000000LL + time.tv_nsec;
}

// Editors keep their swap, lock and backup files beside the file they edit.
bool Scratch(const std::string& name) {
    if (name.empty() || name.front() == '.' || name.back() == '~') return true;
    return name.size() > 1 && name.front() == '#' && name.back() == '#';
}

QString HostText(const fs::path& path) {
    return QFile::decodeName(path.native().c_str());
}

}  // namespace

FileStamp StampOf(const fs::path& path) {
    struct stat st {};
    FileStamp stamp;
    if (::stat(path.c_str(), &st) != 0) return stamp;
    stamp.exists = true;
    stamp.device = static_cast<unsigned long long>(st.st_dev);
    stamp.inode = static_cast<unsigned long long>(st.st_ino);
    stamp.size = static_cast<unsigned long long>(st.st_size);
    stamp.mode = static_cast<unsigned long long>(st.st_mode);
#ifdef __APPLE__
    stamp.modified = Nanoseconds(st.st_mtimespec);
    stamp.changed = Nanoseconds(st.st_ctimespec);
#else
    stamp.modified = Nanoseconds(st.st_mtim);
    stamp.changed = Nanoseconds(st.st_ctim);
#endif
    return stamp;
}

WatchedFolderStamp StampOfFolder(const fs::path& folder) {
    WatchedFolderStamp stamp;
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    if (ec) return stamp;
    stamp.exists = true;
    for (; entries != fs::directory_iterator(); entries.increment(ec)) {
        if (ec) break;
        std::string name = entries->path().filename().native();
        if (!Scratch(name)) stamp.names.push_back(std::move(name));
    }
    std::sort(stamp.names.begin(), stamp.names.end());
    return stamp;
}

void FolderUse::FileRead(const fs::path& path) {
    if (std::find(left_.begin(), left_.end(), path) != left_.end()) return;
    files_.try_emplace(path, StampOf(path));
}

void FolderUse::FolderListed(const fs::path& folder) {
    folders_.try_emplace(folder);
}

void FolderUse::StampFolders() {
    for (auto& [folder, stamp] : folders_) stamp = StampOfFolder(folder);
}

void FolderUse::Clear() {
    files_.clear();
    folders_.clear();
}

ChangeWatcher::ChangeWatcher(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &ChangeWatcher::Settled);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &ChangeWatcher::Noticed);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &ChangeWatcher::Noticed);
}

void ChangeWatcher::Watch(const fs::path& root, const FolderUse& catalogues, const FolderUse& run) {
    root_ = root;
    catalogueFiles_ = catalogues.Files();
    catalogueFolders_ = catalogues.Folders();
    runFiles_ = run.Files();
    runFolders_ = run.Folders();
    watching_ = true;
    std::error_code ec;
    gone_ = !fs::is_directory(root_, ec);
    Arm();
}

void ChangeWatcher::Stop() {
    watching_ = false;
    gone_ = false;
    settle_.stop();
    const QStringList paths = WatchedPaths();
    if (!paths.isEmpty()) watcher_->removePaths(paths);
}

QStringList ChangeWatcher::WatchedPaths() const {
    return watcher_->files() + watcher_->directories();
}

void ChangeWatcher::Noticed(const QString&) {
    // Each write starts the wait again: one comparison after a burst.
    if (watching_) settle_.start();
}

void ChangeWatcher::Arm() {
    QSet<QString> wanted;
    const auto want = [&wanted](const fs::path& path, bool exists) {
        if (exists) wanted.insert(HostText(path));
    };
    if (gone_) {
        // Wait for the folder to come back where it was.
        fs::path parent = root_;
        std::error_code ec;
        while (parent.has_relative_path() && !fs::is_directory(parent, ec)) {
            parent = parent.parent_path();
        }
        want(parent, true);
    } else {
        want(root_, true);
        for (const auto* files : {&catalogueFiles_, &runFiles_}) {
            for (const auto& [path, stamp] : *files) want(path, stamp.exists);
        }
        for (const auto* folders : {&catalogueFolders_, &runFolders_}) {
            for (const auto& [path, stamp] : *folders) want(path, stamp.exists);
        }
    }
    QStringList stale;
    for (const QString& path : WatchedPaths()) {
        if (!wanted.remove(path)) stale.push_back(path);
    }
    if (!stale.isEmpty()) watcher_->removePaths(stale);
    // A file that was replaced has left the watch; it comes back here.
    if (!wanted.isEmpty()) watcher_->addPaths(QStringList(wanted.begin(), wanted.end()));
}

QString ChangeWatcher::Shown(const fs::path& path) const {
    const fs::path relative = path.lexically_relative(root_);
    if (relative.empty() || relative == "." || *relative.begin() == "..") return HostText(path);
    return HostText(relative.generic_string());
}

QStringList ChangeWatcher::Compare(const std::map<fs::path, FileStamp>& files,
                                   const std::map<fs::path, WatchedFolderStamp>& folders) const {
    QStringList changed;
    for (const auto& [path, stamp] : files) {
        if (StampOf(path) != stamp) changed.push_back(Shown(path));
    }
    for (const auto& [path, stamp] : folders) {
        if (StampOfFolder(path) != stamp) changed.push_back(Shown(path) + QLatin1Char('/'));
    }
    return changed;
}

void ChangeWatcher::Settled() {
    if (!watching_) return;
    std::error_code ec;
    if (!fs::is_directory(root_, ec)) {
        const bool newly = !gone_;
        gone_ = true;
        Arm();
        if (newly) emit GameFolderGone();
        return;
    }
    if (gone_) {
        gone_ = false;
        Arm();
        emit Changed(true, {Shown(root_)});
        return;
    }
    QStringList changed = Compare(catalogueFiles_, catalogueFolders_);
    const bool catalogues = !changed.isEmpty();
    if (!catalogues) changed = Compare(runFiles_, runFolders_);
    Arm();
    if (!changed.isEmpty()) emit Changed(catalogues, changed);
}

}  // namespace venuecheck
