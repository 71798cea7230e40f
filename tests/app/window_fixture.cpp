#include "window_fixture.h"

#include "../preview_gl/gl_fixtures.h"

#include "builders/pages.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace veltrane::app::testing {
namespace {

// The next prepared answer; none left, or an empty one, is a cancelled dialog.
std::optional<QString> answer(std::deque<QString>& answers) {
    const QString next = answers.empty() ? QString() : answers.front();
    if (!answers.empty())
        answers.pop_front();
    return next.isEmpty() ? std::nullopt : std::optional(next);
}

} // namespace

QString qtPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

std::optional<QString> RecordedDialogs::openFileName(const QString& title, const QString& filter) {
    asked.push_back({title, filter});
    return answer(openAnswers);
}

std::optional<QString> RecordedDialogs::saveFileName(const QString& title, const QString& filter) {
    asked.push_back({title, filter});
    return answer(saveAnswers);
}

merge::testing::SourceFixture twoOfEachSource() {
    using merge::testing::quad;
    merge::testing::SourceFixture source;
    source.addSample(0, 0, 0, 16, 16);
    source.addSample(0, 0, 1, 32, 8);
    source.library.Animations.resize(2);
    source.addStatic(50, {quad(0), merge::testing::triangle(0)});
    source.addStatic(51, {quad(1)});
    source.addMoveable(60, 2, 6, 0);
    source.addMoveable(61, 3, 4, 1);
    return source;
}

WindowTest::WindowTest() : previousFolder(std::filesystem::current_path()) {
    preview::testing::application();
    std::filesystem::current_path(folder.path());
    window = std::make_unique<TForm1>(TForm1::Options{&dialogs});
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

WindowTest::~WindowTest() {
    window.reset();
    std::filesystem::current_path(previousFolder);
}

std::filesystem::path WindowTest::writeTarget(const std::string& name, level::LevelDocument target) {
    const auto path = folder / name;
    EXPECT_TRUE(level::saveLevelDocument(path, target).ok());
    return path;
}

std::filesystem::path WindowTest::writeSource(const std::string& name, const wad::LibraryDocument& source) {
    // The document holds its pages converted; the file holds them as a library does.
    wad::WadLibrary library = source.library;
    for (std::uint32_t page = 0; page < source.pages.pageCount; ++page)
        builders::appendLibraryPage(library, [page](int x, int y) {
            return builders::Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(page * 100)};
        });
    return folder.write(name, wad::encodeLibrary(library));
}

void WindowTest::openTarget(const std::filesystem::path& path) {
    dialogs.openAnswers.push_back(qtPath(path));
    window->Open1Click();
}

void WindowTest::openSource(const std::filesystem::path& path) {
    dialogs.openAnswers.push_back(qtPath(path));
    window->Open2Click();
}

void WindowTest::click(QListWidget& list, int row) {
    const QRect rect = list.visualItemRect(list.item(row));
    ASSERT_FALSE(rect.isEmpty()) << "entry " << row << " is not on show";
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center() + QPoint(rect.width() / 4, 0));
}

void WindowTest::tick(QListWidget& list, int row) {
    QListWidgetItem* item = list.item(row);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

QStringList WindowTest::entries(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.push_back(list.item(i)->text());
    return texts;
}

QStringList WindowTest::memoLines() const {
    const QString text = window->Memo1->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

RecordedDialogs::Notice WindowTest::lastNotice() const {
    return dialogs.notices.empty() ? RecordedDialogs::Notice{} : dialogs.notices.back();
}

} // namespace veltrane::app::testing
