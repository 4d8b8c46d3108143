#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace venuecheck {

// How a file stood when it was looked at: enough to see that it was
// written, replaced, removed or made unreadable.
struct FileStamp {
    bool exists = false;
    unsigned long long device = 0, inode = 0, size = 0, mode = 0;
    long long modified = 0, changed = 0;  // nanoseconds
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp StampOf(const std::filesystem::path& path);

// The names in a folder that can matter to the checker: hidden names and
// the scratch files of editors ("name~", "#name#") are left out.
struct WatchedFolderStamp {
    bool exists = false;
    std::vector<std::string> names;  // sorted
    friend bool operator==(const WatchedFolderStamp&, const WatchedFolderStamp&) = default;
};

WatchedFolderStamp StampOfFolder(const std::filesystem::path& folder);

// What a step of the checker used of the game folder: the files it read,
// each as it stood when it was first read, and the folders it listed.
class FolderUse {
public:
    void FileRead(const std::filesystem::path& path);
    void FolderListed(const std::filesystem::path& folder);
    // Files the checker writes itself (its temporary copy) are not watched.
    void Leave(std::filesystem::path path) { left_.push_back(std::move(path)); }

    const std::map<std::filesystem::path, FileStamp>& Files() const { return files_; }
    const std::map<std::filesystem::path, WatchedFolderStamp>& Folders() const { return folders_; }

    // Stamps every folder listed as it stands now: after the step, once the
    // checker's own probe files are gone again.
    void StampFolders();
    void Clear();

private:
    std::map<std::filesystem::path, FileStamp> files_;
    std::map<std::filesystem::path, WatchedFolderStamp> folders_;
    std::vector<std::filesystem::path> left_;
};

// Watches what the catalogues and the shown check run used. Once a burst of
// writes has settled it compares every file and folder with its stamp and
// says what changed, if anything did; the checker's own probe files, created
// and deleted within a run, change nothing.
class ChangeWatcher : public QObject {
    Q_OBJECT

public:
    // How long the folder must be quiet before it is compared.
    static constexpr int kSettleMilliseconds = 250;

    explicit ChangeWatcher(QObject* parent = nullptr);

    // Starts watching anew; `root` is the game folder.
    void Watch(const std::filesystem::path& root, const FolderUse& catalogues,
               const FolderUse& run);
    void Stop();
    bool Watching() const { return watching_; }

    // The paths watched now (tests and the status bar).
    QStringList WatchedPaths() const;

signals:
    // Something that was used changed: `catalogues` when the venues, the
    // species or the maximum sizes did. `paths` are relative to the game
    // folder where they are inside it.
    void Changed(bool catalogues, const QStringList& paths);
    // The game folder itself is gone; watching goes on for its return.
    void GameFolderGone();

private:
    void Noticed(const QString& path);
    void Settled();
    void Arm();
    QString Shown(const std::filesystem::path& path) const;
    QStringList Compare(const std::map<std::filesystem::path, FileStamp>& files,
                        const std::map<std::filesystem::path, WatchedFolderStamp>& folders) const;

    QFileSystemWatcher* watcher_;
    QTimer settle_;
    bool watching_ = false;
    bool gone_ = false;
    std::filesystem::path root_;
    std::map<std::filesystem::path, FileStamp> catalogueFiles_, runFiles_;
    std::map<std::filesystem::path, WatchedFolderStamp> catalogueFolders_, runFolders_;
};

}  // namespace venuecheck
