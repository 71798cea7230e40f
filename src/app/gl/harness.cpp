// Shows the preview on a level and a library: veltrane-preview TARGET.tr4 SOURCE.wad
// Click an object in the list; drag with the right mouse button to turn it (Ctrl: zoom, Shift: pan).
#include "app/gl/preview_widget.h"
#include "level/level_file.h"
#include "level/mesh_block.h"
#include "wad/wad_library.h"
#include "wad/wad_pages.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <optional>

using namespace veltrane;

namespace {

struct Files {
    level::Tr4Level target;
    std::optional<level::Lista_Mesh> targetMeshes;
    wad::WadLibrary library;
    level::Tr4Level sourcePages;
    std::optional<level::Lista_Mesh> sourceMeshes;
};

void addEntries(QListWidget& list, preview::PreviewList kind, const QString& prefix, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        auto* item = new QListWidgetItem(prefix + QString::number(i), &list);
        item->setData(Qt::UserRole, static_cast<int>(kind));
        item->setData(Qt::UserRole + 1, static_cast<int>(i));
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TARGET.tr4 SOURCE.wad\n", argv[0]);
        return 2;
    }
    Files files;
    auto target = level::readLevel(argv[1]);
    if (!target) {
        std::fprintf(stderr, "%s: %s\n", argv[1], target.error().c_str());
        return 1;
    }
    files.target = std::move(target.value());
    files.targetMeshes = level::parseMeshBlock(level::wordBytes(files.target.MeshWords), level::MeshKind::Level);
    auto library = wad::readLibrary(argv[2]);
    if (!library) {
        std::fprintf(stderr, "%s: %s\n", argv[2], library.error().c_str());
        return 1;
    }
    files.library = std::move(library.value());
    files.sourceMeshes = level::parseMeshBlock(level::wordBytes(files.library.MeshWords), level::MeshKind::Library);
    files.sourcePages.Pages32 = wad::convertPages(files.library.TextureBytes);
    wad::copyPages(files.sourcePages);

    QWidget window;
    auto* objects = new QListWidget;
    addEntries(*objects, preview::PreviewList::TargetMoveables, "target moveable ", files.target.Moveables.size());
    addEntries(*objects, preview::PreviewList::TargetStatics, "target static ", files.target.StaticMeshes.size());
    addEntries(*objects, preview::PreviewList::SourceMoveables, "source moveable ", files.library.Moveables.size());
    addEntries(*objects, preview::PreviewList::SourceStatics, "source static ", files.library.StaticMeshes.size());
    auto* factor = new QLineEdit("1.2");
    auto* preview = new app::PreviewWidget;
    preview->setFixedSize(app::PreviewWidget::kDesignWidth, app::PreviewWidget::kDesignHeight);
    preview->setTarget(&files.target, &*files.targetMeshes);
    preview->setSource(&files.sourcePages, &files.library, &*files.sourceMeshes);

    QObject::connect(objects, &QListWidget::currentItemChanged, [preview](QListWidgetItem* item) {
        if (item != nullptr)
            preview->select({static_cast<preview::PreviewList>(item->data(Qt::UserRole).toInt()),
                             item->data(Qt::UserRole + 1).toInt()});
    });
    QObject::connect(factor, &QLineEdit::textChanged,
                     [preview](const QString& text) { preview->setSpinFactorText(text); });
    QObject::connect(preview, &app::PreviewWidget::spinFactorChanged, [factor](bool valid, const QString& message) {
        factor->setStyleSheet(valid ? QString() : QStringLiteral("color: red"));
        factor->setToolTip(message);
    });

    auto* side = new QVBoxLayout;
    side->addWidget(factor);
    side->addWidget(objects);
    auto* layout = new QHBoxLayout(&window);
    layout->addLayout(side);
    layout->addWidget(preview);
    window.show();
    return application.exec();
}
