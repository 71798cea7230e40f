#pragma once

#include "../merge/merge_fixture.h"

#include "app/dialogs.h"
#include "app/tform1.h"

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

    std::optional<QString> OpenFileName(const QString& title, const QString& filter) override;
    std::optional<QString> SaveFileName(const QString& title, const QString& filter) override;
    void ShowNotice(const QString& text, const QString& title) override { notices.push_back({text, title}); }

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::vector<Asked> asked;
    std::vector<Notice> notices;
};

// A library with two static meshes (IDs 50, 51) and two moveables (IDs 60, 61), all textured.
merge::testing::SourceFixture twoOfEachSource();

// The window shown on a virtual display, working in a folder of its own (its scratch files go there).
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    std::filesystem::path WriteTarget(const std::string& name, merge::testing::TargetFixture fixture = {});
    std::filesystem::path WriteSource(const std::string& name, const merge::testing::SourceFixture& fixture);
    std::filesystem::path WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes);

    // File > Open Target / Open Source with the dialog answering `path`.
    void OpenTarget(const std::filesystem::path& path);
    void OpenSource(const std::filesystem::path& path);

    // A left click on entry `row` of a list; ticking or unticking its tick box.
    void Click(QListWidget& list, int row);
    void Tick(QListWidget& list, int row);
    static QStringList Entries(const QListWidget& list);
    QStringList MemoLines() const;
    // The last message shown, or an empty one.
    RecordedDialogs::Notice LastNotice() const;

    std::filesystem::path folder;
    std::filesystem::path previousFolder;
    RecordedDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

} // namespace veltrane::app::testing
