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

using merge::testing::twoOfEachSource;

// Dialogs that answer from prepared queues (nothing left, or an empty name: cancelled) and keep every
// question and message.
class RecordedDialogs : public Dialogs {
public:
    struct Asked {
        QString title;
        QString filter;
        bool operator==(const Asked&) const = default;
        friend void PrintTo(const Asked& a, std::ostream* out) { *out << (a.title + " | " + a.filter).toStdString(); }
    };
    struct Notice {
        QString text;
        QString title;
        bool operator==(const Notice&) const = default;
        friend void PrintTo(const Notice& n, std::ostream* out) { *out << (n.text + " | " + n.title).toStdString(); }
    };

    std::optional<QString> openFileName(const QString& title, const QString& filter) override {
        return answer(title, filter, openAnswers);
    }
    std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& folder) override {
        saveFolders.push_back(folder);
        return answer(title, filter, saveAnswers);
    }
    void showNotice(const QString& text, const QString& title) override { notices.push_back({text, title}); }
    // Questions with no prepared answer: changes are discarded, a confirmation is refused, both objects kept.
    SaveChoice askSaveChanges(const QString& name) override {
        questions.push_back("Save changes to " + name + "?");
        return next(saveChoices, SaveChoice::Discard);
    }
    bool confirm(const QString& text, const QString&) override {
        questions.push_back(text);
        return next(confirmAnswers, false);
    }
    ConflictChoice askConflicts(const QString& text) override {
        questions.push_back(text);
        return next(conflictChoices, ConflictChoice::KeepBoth);
    }

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<SaveChoice> saveChoices;
    std::deque<bool> confirmAnswers;
    std::deque<ConflictChoice> conflictChoices;
    std::vector<Asked> asked;
    std::vector<QString> saveFolders;
    std::vector<Notice> notices;
    std::vector<QString> questions;

private:
    template <class T>
    static T next(std::deque<T>& answers, T otherwise) {
        if (answers.empty())
            return otherwise;
        const T answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QString> answer(const QString& title, const QString& filter, std::deque<QString>& answers) {
        asked.push_back({title, filter});
        const QString next = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return next.isEmpty() ? std::nullopt : std::optional(next);
    }
};

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
