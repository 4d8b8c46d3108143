#include "app/qt/window_settings.h"

#include <QFile>
#include <QUrl>

namespace venuecheck {

WindowSettings::WindowSettings()
    : settings_(std::make_unique<QSettings>(QStringLiteral("venuecheck"),
                                            QStringLiteral("venuecheck-gui"))) {}

WindowSettings::WindowSettings(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QByteArray WindowSettings::Value(const QString& key) const {
    return settings_->value(QStringLiteral("window/") + key).toByteArray();
}

void WindowSettings::SetValue(const QString& key, const QByteArray& value) {
    settings_->setValue(QStringLiteral("window/") + key, value);
}

bool WindowSettings::Shows(const QString& part) const {
    return settings_->value(QStringLiteral("window/show-") + part, true).toBool();
}

void WindowSettings::SetShows(const QString& part, bool shown) {
    settings_->setValue(QStringLiteral("window/show-") + part, shown);
}

bool WindowSettings::RecheckOnChange() const {
    return settings_->value(QStringLiteral("check/recheckOnChange"), true).toBool();
}

void WindowSettings::SetRecheckOnChange(bool on) {
    settings_->setValue(QStringLiteral("check/recheckOnChange"), on);
}

bool WindowSettings::ShowsSeverity(const QString& name) const {
    return settings_->value(QStringLiteral("findings/show-") + name, true).toBool();
}

void WindowSettings::SetShowsSeverity(const QString& name, bool shown) {
    settings_->setValue(QStringLiteral("findings/show-") + name, shown);
}

QStringList WindowSettings::RecentFolders() const {
    return settings_->value(QStringLiteral("folders/recent")).toStringList();
}

void WindowSettings::AddRecentFolder(const QString& folder) {
    QStringList recent = RecentFolders();
    recent.removeAll(folder);
    recent.prepend(folder);
    while (recent.size() > kRecentFolders) recent.removeLast();
    settings_->setValue(QStringLiteral("folders/recent"), recent);
    settings_->setValue(QStringLiteral("folders/last"), folder);
}

void WindowSettings::ClearRecentFolders() {
    settings_->remove(QStringLiteral("folders/recent"));
}

QString WindowSettings::LastFolder() const {
    return settings_->value(QStringLiteral("folders/last")).toString();
}

std::filesystem::path WindowSettings::FolderToOpen() const {
    const QString last = LastFolder();
    const std::filesystem::path folder = QFile::encodeName(last).toStdString();
    std::error_code ec;
    if (!last.isEmpty() && std::filesystem::is_directory(folder, ec)) return folder;
    return ".";
}

QString WindowSettings::FolderKey(const QString& folder, const char* name) const {
    // A path holds '/', which the settings read as groups.
    return QStringLiteral("game-folders/") + QString::fromLatin1(QUrl::toPercentEncoding(folder)) +
           QLatin1Char('/') + QLatin1String(name);
}

QString WindowSettings::LastVenue(const QString& folder) const {
    return settings_->value(FolderKey(folder, "venue")).toString();
}

void WindowSettings::SetLastVenue(const QString& folder, const QString& venue) {
    settings_->setValue(FolderKey(folder, "venue"), venue);
}

QStringList WindowSettings::IgnoredRules(const QString& folder) const {
    return settings_->value(FolderKey(folder, "ignored-rules")).toStringList();
}

void WindowSettings::SetIgnoredRules(const QString& folder, const QStringList& rules) {
    if (rules.isEmpty()) {
        settings_->remove(FolderKey(folder, "ignored-rules"));
    } else {
        settings_->setValue(FolderKey(folder, "ignored-rules"), rules);
    }
}

void WindowSettings::Sync() {
    settings_->sync();
}

}  // namespace venuecheck
