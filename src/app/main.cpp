// veltrane [TARGET.tr4] [SOURCE.wad]: the main window, with the files given opened at start.
#include "app/guarded_application.h"
#include "app/screenshot.h"
#include "app/tform1.h"

#include <QCommandLineParser>

#include <cstdio>

using namespace veltrane;

int main(int argc, char** argv) {
    app::GuardedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltrane"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Merges moveables and static meshes of a .wad library into a "
                                                    "Tomb Raider 4 level."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("TARGET"), QStringLiteral("The .tr4 level to open as the target."),
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
    bool opened = true;
    if (!files.empty())
        opened = window.openTarget(files[0]) && opened;
    if (files.size() > 1)
        opened = window.openSource(files[1]) && opened;
    if (unattended) {
        if (!opened)
            return 1;
        std::optional<app::ScreenshotPose> posed;
        if (parser.isSet(pose)) {
            const QStringList parts = parser.value(pose).split(QLatin1Char(':'));
            bool animationOk = false, frameOk = false;
            if (parts.size() == 2)
                posed = app::ScreenshotPose{parts[0].toInt(&animationOk), parts[1].toInt(&frameOk)};
            if (!animationOk || !frameOk) {
                std::fprintf(stderr, "veltrane: --pose takes ANIM:FRAME, two whole numbers\n");
                return 2;
            }
        }
        if (!app::saveScreenshot(window, parser.value(screenshot), posed)) {
            std::fprintf(stderr, "veltrane: could not save the picture of the window\n");
            return 1;
        }
        return 0;
    }
    return application.exec();
}
