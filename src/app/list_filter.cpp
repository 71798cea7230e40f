#include "app/list_filter.h"

#include <QLineEdit>
#include <QListWidget>

namespace veltrane::app {
namespace {

void filterRows(QListWidget& list, const QString& text, int first, int last) {
    for (int row = first; row <= last; ++row)
        list.setRowHidden(row, !list.item(row)->text().contains(text, Qt::CaseInsensitive));
}

} // namespace

void filterBy(QListWidget& list, QLineEdit& box) {
    QObject::connect(&box, &QLineEdit::textChanged, &list,
                     [&list](const QString& text) { filterRows(list, text, 0, list.count() - 1); });
    QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, &list,
                     [&list, &box](const QModelIndex&, int first, int last) { filterRows(list, box.text(), first, last); });
}

} // namespace veltrane::app
