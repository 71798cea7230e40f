#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace veltrane::app {
namespace {

QString key(RecentFiles::Kind kind) {
    return kind == RecentFiles::Kind::Target ? QStringLiteral("recent/targets") : QStringLiteral("recent/sources");
}

std::unique_ptr<QSettings> settingsAt(const QString& file) {
    return file.isEmpty() ? std::make_unique<QSettings>()
                          : std::make_unique<QSettings>(file, QSettings::IniFormat);
}

} // namespace

QStringList RecentFiles::files(Kind kind) const { return settingsAt(settingsFile_)->value(key(kind)).toStringList(); }

void RecentFiles::add(Kind kind, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList kept = files(kind);
    // Saving the file last named again leaves the list as it is, and the settings unwritten.
    if (!kept.isEmpty() && kept.front() == absolute)
        return;
    kept.removeAll(absolute);
    kept.prepend(absolute);
    store(kind, kept.mid(0, kKept));
}

void RecentFiles::remove(Kind kind, const QString& path) {
    QStringList kept = files(kind);
    kept.removeAll(QFileInfo(path).absoluteFilePath());
    store(kind, kept);
}

void RecentFiles::store(Kind kind, const QStringList& files) { settingsAt(settingsFile_)->setValue(key(kind), files); }

} // namespace veltrane::app
