// The window with the large demo pair, on a virtual display (bench-window runs it through
// scripts/with-display.sh), next to the command line's work in the same run:
// - Save As, from the confirmed file name to "File saved", the scratch files included, against the
//   save veltrane-cli merge does (saveLevelDocument). Goal: <= 1.25. Both run with the allocator as a
//   window that has been open a while has it: it keeps the large blocks it freed for the next save.
// - Opening the pair as `veltrane TARGET SOURCE` does, until the preview has painted its first frame,
//   reported next to veltrane-cli info of both files.
#include "app/dialogs.h"
#include "app/tform1.h"
#include "large_demo.h"
#include "level/level_document.h"
#include "ratio_reporter.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

using namespace veltrane;

namespace {

using Clock = std::chrono::steady_clock;

// Answers Save As with one name and notes when it was confirmed and when the window said it saved.
class TimedDialogs : public app::Dialogs {
public:
    std::optional<QString> openFileName(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&) override {
        confirmed = Clock::now();
        return saveAs;
    }
    SaveChoice askSaveChanges(const QString&) override { return SaveChoice::Discard; }
    bool confirm(const QString&, const QString&) override { return false; }
    ConflictChoice askConflicts(const QString&) override { return ConflictChoice::Cancel; }
    void showNotice(const QString& text, const QString&) override {
        if (text.startsWith(QStringLiteral("File saved")))
            saved = Clock::now();
        else
            failure = text;
    }

    QString saveAs;
    Clock::time_point confirmed;
    Clock::time_point saved;
    QString failure;
};

QString qtPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The window with the benchmark's dialogs, keeping its recent files beside the demo files rather than in
// the user's settings.
app::TForm1::Options windowOptions(app::Dialogs& dialogs) {
    return {&dialogs, true, qtPath(bench::largeDemoFiles().folder / "settings.ini")};
}

void WindowSaveAs(benchmark::State& state) {
    const auto& files = bench::largeDemoFiles();
    TimedDialogs dialogs;
    dialogs.saveAs = qtPath(files.folder / "saved-by-window.tr4");
    app::TForm1 window(windowOptions(dialogs));
    window.show();
    if (!window.openTarget(qtPath(files.target))) {
        state.SkipWithError("the window did not open the target");
        return;
    }
    for (auto _ : state) {
        window.SaveAs1Click();
        if (!dialogs.failure.isEmpty()) {
            state.SkipWithError(dialogs.failure.toStdString().c_str());
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(dialogs.saved - dialogs.confirmed).count());
    }
}

void CommandLineSave(benchmark::State& state) {
    const auto& files = bench::largeDemoFiles();
    auto document = level::openLevelDocument(files.target);
    if (!document) {
        state.SkipWithError(document.error().c_str());
        return;
    }
    for (auto _ : state)
        if (!level::saveLevelDocument(files.folder / "saved.tr4", document.value())) {
            state.SkipWithError("the save failed");
            break;
        }
}

// From making the window, as main() does with the files it is given, to the preview's first frame
// with both files open (showing the window already paints an empty one).
void WindowOpenToFirstFrame(benchmark::State& state) {
    // The first open of a window that has just started takes its large blocks fresh from the system.
    bench::takeLargeBlocksFresh();
    const auto& files = bench::largeDemoFiles();
    for (auto _ : state) {
        const auto start = Clock::now();
        TimedDialogs dialogs;
        app::TForm1 window(windowOptions(dialogs));
        window.show();
        window.openTarget(qtPath(files.target));
        window.openSource(qtPath(files.source));
        const int framesBefore = window.Panel1->frameCount();
        QEventLoop loop;
        QObject::connect(window.Panel1, &QOpenGLWidget::frameSwapped, &loop, &QEventLoop::quit);
        QTimer::singleShot(10'000, &loop, &QEventLoop::quit);
        loop.exec();
        const auto end = Clock::now();
        if (window.Panel1->frameCount() == framesBefore) {
            state.SkipWithError("the preview drew no frame");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void CommandLineInfoOfBoth(benchmark::State& state) {
    const auto& files = bench::largeDemoFiles();
    for (auto _ : state) {
        const double target = bench::commandSeconds({"info", files.target.string()});
        const double source = bench::commandSeconds({"info", files.source.string()});
        if (target < 0 || source < 0) {
            state.SkipWithError("veltrane-cli failed");
            break;
        }
        state.SetIterationTime(target + source);
    }
}

} // namespace

BENCHMARK(CommandLineSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WindowSaveAs)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(CommandLineInfoOfBoth)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(WindowOpenToFirstFrame)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const auto& files = bench::largeDemoFiles();
    if (files.target.empty()) {
        std::fprintf(stderr, "the large demo files could not be written\n");
        return 1;
    }
    // The window's scratch files go to the working directory.
    std::filesystem::current_path(files.folder);
    return bench::runWithRatios(argc, argv,
                                {{"WindowSaveAs", "CommandLineSave"}, {"WindowOpenToFirstFrame", "CommandLineInfoOfBoth"}});
}
