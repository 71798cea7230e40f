#include "window_fixture.h"

#include "../preview_gl/gl_fixtures.h"

#include "builders/pages.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace veltrane::app::testing {
QString qtPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

WindowTest::WindowTest() : previousFolder(std::filesystem::current_path()) {
    preview::testing::application();
    std::filesystem::current_path(folder.path());
    window = std::make_unique<TForm1>(TForm1::Options{&dialogs, true, qtPath(folder / "settings.ini")});
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
