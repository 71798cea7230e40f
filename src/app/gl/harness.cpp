// Shows the preview on a level and a library: veltrane-preview TARGET.tr4 SOURCE.wad
// Click an object in the list; drag with the right mouse button to turn it (Ctrl: zoom, Shift: pan);
// F or a double-click frames it again.
#include "app/gl/preview_widget.h"
#include "level/level_document.h"
#include "wad/library_document.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <cstdio>

using namespace veltrane;

namespace {

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
    const auto target = level::openLevelDocument(argv[1]);
    if (!target) {
        std::fprintf(stderr, "%s\n", target.error().c_str());
        return 1;
    }
    const auto source = wad::openLibraryDocument(argv[2]);
    if (!source) {
        std::fprintf(stderr, "%s\n", source.error().c_str());
        return 1;
    }

    QWidget window;
    auto* objects = new QListWidget;
    addEntries(*objects, preview::PreviewList::TargetMoveables, "target moveable ", target->level.Moveables.size());
    addEntries(*objects, preview::PreviewList::TargetStatics, "target static ", target->level.StaticMeshes.size());
    addEntries(*objects, preview::PreviewList::SourceMoveables, "source moveable ", source->library.Moveables.size());
    addEntries(*objects, preview::PreviewList::SourceStatics, "source static ", source->library.StaticMeshes.size());
    auto* factor = new QLineEdit("1.2");
    auto* preview = new app::PreviewWidget;
    preview->setFixedSize(app::PreviewWidget::kDesignWidth, app::PreviewWidget::kDesignHeight);
    preview->setTarget(&target.value());
    preview->setSource(&source.value());

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
