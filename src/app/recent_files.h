#pragma once

#include <QString>
#include <QStringList>

#include <utility>

namespace veltrane::app {

// The targets and sources opened last, newest first, kept in the user's settings between runs.
class RecentFiles {
public:
    static constexpr int kKept = 8;
    enum class Kind { Target, Source };

    // `settingsFile` empty: the user's own settings of the program.
    explicit RecentFiles(QString settingsFile) : settingsFile_(std::move(settingsFile)) {}

    [[nodiscard]] QStringList files(Kind kind) const;
    // `path` goes first; an older mention of it goes, and so does the ninth file.
    void add(Kind kind, const QString& path);
    void remove(Kind kind, const QString& path);

private:
    void store(Kind kind, const QStringList& files);

    QString settingsFile_;
};

} // namespace veltrane::app
