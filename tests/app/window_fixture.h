#pragma once

#include "../merge/merge_fixture.h"

#include "app/dialogs.h"
#include "app/tform1.h"
#include "support/temp_folder.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class QListWidget;

// Texts in test failures read as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace veltrane::app::testing {

// Dialogs that answer from prepared queues (nothing left, or an empty name: cancelled) and keep every
// message.
class RecordedDialogs : public Dialogs {
public:
    struct Asked {
        QString title;
        QString filter;
    };
    struct Notice {
        QString text;
        QString title;
    };

    std::optional<QString> openFileName(const QString& title, const QString& filter) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter) override;
    void showNotice(const QString& text, const QString& title) override { notices.push_back({text, title}); }

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::vector<Asked> asked;
    std::vector<Notice> notices;
};

// A library with two static meshes (IDs 50, 51) and two moveables (IDs 60, 61), all textured.
merge::testing::SourceFixture twoOfEachSource();

QString qtPath(const std::filesystem::path& path);

// The window shown on a virtual display, working in a folder of its own (its scratch files go there).
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    std::filesystem::path writeTarget(const std::string& name, level::LevelDocument target = merge::testing::targetFixture());
    std::filesystem::path writeSource(const std::string& name, const wad::LibraryDocument& source = twoOfEachSource());

    // File > Open Target / Open Source with the dialog answering `path`.
    void openTarget(const std::filesystem::path& path);
    void openSource(const std::filesystem::path& path);

    // A left click on entry `row` of a list; ticking or unticking its tick box.
    void click(QListWidget& list, int row);
    static void tick(QListWidget& list, int row);
    static QStringList entries(const QListWidget& list);
    QStringList memoLines() const;
    // The last message shown, or an empty one.
    RecordedDialogs::Notice lastNotice() const;

    const veltrane::testing::TempFolder folder;
    const std::filesystem::path previousFolder;
    RecordedDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

} // namespace veltrane::app::testing
