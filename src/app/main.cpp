// veltrane [TARGET.tr4] [SOURCE.wad]: the main window, with the files given opened at start.
#include "app/guarded_application.h"
#include "app/screenshot.h"
#include "app/tform1.h"
#include "veltrane_version.h"

#include <QCommandLineParser>

#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

using namespace veltrane;

namespace {

// "12:34" split at `separator` into two whole numbers, or nothing.
std::optional<std::pair<int, int>> twoNumbers(const QString& text, QChar separator) {
    const QStringList parts = text.split(separator);
    bool firstOk = false, secondOk = false;
    if (parts.size() != 2)
        return std::nullopt;
    const std::pair numbers{parts[0].toInt(&firstOk), parts[1].toInt(&secondOk)};
    return firstOk && secondOk ? std::optional(numbers) : std::nullopt;
}

// --help and --version answer on the terminal, with no display needed.
bool onlyAsksAboutItself(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help" || argument == "--help-all" || argument == "-v" ||
            argument == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> running =
        onlyAsksAboutItself(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv)
                                        : std::make_unique<app::GuardedApplication>(argc, argv);
    QCoreApplication& application = *running;
    QCoreApplication::setApplicationName(QStringLiteral("veltrane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Veltrane")); // where the recent files are kept
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTRANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Merges moveables and static meshes of a .wad library into a "
                                                    "Tomb Raider 4 level."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("TARGET"),
                                 QStringLiteral("The .tr4 level to open as the target. A .wad given first or alone "
                                                "opens as the source."),
                                 QStringLiteral("[TARGET.tr4]"));
    parser.addPositionalArgument(QStringLiteral("SOURCE"), QStringLiteral("The .wad library to open as the source."),
                                 QStringLiteral("[SOURCE.wad]"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Show the first source moveable, save a picture of the window to FILE (PNG) and quit."),
        QStringLiteral("FILE"));
    parser.addOption(screenshot);
    const QCommandLineOption pose(QStringLiteral("pose"),
                                  QStringLiteral("With --screenshot: pose the moveable at frame FRAME of its animation "
                                                 "ANIM (counted from 0)."),
                                  QStringLiteral("ANIM:FRAME"));
    parser.addOption(pose);
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("With --screenshot: the window's size, WIDTHxHEIGHT in pixels."),
                                  QStringLiteral("WxH"));
    parser.addOption(size);
    const QCommandLineOption filter(QStringLiteral("filter"),
                                    QStringLiteral("With --screenshot: TEXT typed into the source moveables' filter box."),
                                    QStringLiteral("TEXT"));
    parser.addOption(filter);
    parser.process(application);

    const QStringList files = parser.positionalArguments();
    if (files.size() > 2) {
        std::fprintf(stderr, "veltrane: at most a target and a source; see --help\n");
        return 2;
    }
    const bool unattended = parser.isSet(screenshot);
    app::UnattendedDialogs quiet;
    app::TForm1::Options options;
    if (unattended)
        options.dialogs = &quiet;
    app::TForm1 window(options);
    window.show();
    // A file manager gives the files in any order: a .wad before a level, or alone, is the source.
    QString target = files.value(0), source = files.value(1);
    const auto isLibrary = [](const QString& file) {
        return file.endsWith(QStringLiteral(".wad"), Qt::CaseInsensitive);
    };
    if (isLibrary(target) && !isLibrary(source))
        std::swap(target, source);
    bool opened = true;
    if (!target.isEmpty())
        opened = window.openTarget(target) && opened;
    if (!source.isEmpty())
        opened = window.openSource(source) && opened;
    if (unattended) {
        if (!opened)
            return 1;
        app::ScreenshotSetting setting;
        setting.filter = parser.value(filter);
        if (parser.isSet(pose)) {
            const auto numbers = twoNumbers(parser.value(pose), QLatin1Char(':'));
            if (!numbers) {
                std::fprintf(stderr, "veltrane: --pose takes ANIM:FRAME, two whole numbers\n");
                return 2;
            }
            setting.pose = app::ScreenshotPose{numbers->first, numbers->second};
        }
        if (parser.isSet(size)) {
            const auto numbers = twoNumbers(parser.value(size), QLatin1Char('x'));
            if (!numbers || numbers->first <= 0 || numbers->second <= 0) {
                std::fprintf(stderr, "veltrane: --size takes WIDTHxHEIGHT, two positive whole numbers\n");
                return 2;
            }
            setting.size = QSize(numbers->first, numbers->second);
        }
        if (!app::saveScreenshot(window, parser.value(screenshot), setting)) {
            std::fprintf(stderr, "veltrane: could not save the picture of the window\n");
            return 1;
        }
        return 0;
    }
    return application.exec();
}
