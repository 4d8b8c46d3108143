#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>

namespace venuecheck {

// What the window keeps between sessions: its size and splitters, the
// re-check toggle, the findings panel's toggles, the game folders opened
// last and, for each game folder, the venue shown last and the rules
// ignored there.
class WindowSettings {
public:
    // The user's own settings of the program.
    WindowSettings();
    // Settings kept in an INI file of their own (tests, a second profile).
    explicit WindowSettings(const QString& iniFile);

    QByteArray Value(const QString& key) const;
    void SetValue(const QString& key, const QByteArray& value);

    // A part of the window that can be shown or hidden ("peg-map").
    bool Shows(const QString& part) const;
    void SetShows(const QString& part, bool shown);

    bool RecheckOnChange() const;
    void SetRecheckOnChange(bool on);

    // Whether the findings panel shows "errors", "warnings" or "advice".
    bool ShowsSeverity(const QString& name) const;
    void SetShowsSeverity(const QString& name, bool shown);

    // Most recent first; `AddRecentFolder` also makes it the last one.
    static constexpr int kRecentFolders = 8;
    QStringList RecentFolders() const;
    void AddRecentFolder(const QString& folder);
    void ClearRecentFolders();
    QString LastFolder() const;
    // The folder to open without one given: the last one while it is still
    // there, else the working directory.
    std::filesystem::path FolderToOpen() const;

    QString LastVenue(const QString& folder) const;
    void SetLastVenue(const QString& folder, const QString& venue);

    // Rule ids, in the order they were ignored.
    QStringList IgnoredRules(const QString& folder) const;
    void SetIgnoredRules(const QString& folder, const QStringList& rules);

    void Sync();

private:
    QString FolderKey(const QString& folder, const char* name) const;

    std::unique_ptr<QSettings> settings_;
};

}  // namespace venuecheck
