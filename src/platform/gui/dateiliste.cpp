#include "platform/gui/dateiliste.h"

#include <QFileSystemModel>
#include <QLocale>

namespace {
// The columns of QFileSystemModel.
constexpr int kGroesse = 1;
constexpr int kGeaendert = 3;
} // namespace

QVariant Dateiliste::data(const QModelIndex& index, int role) const {
    const auto* dateien = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !dateien || !index.isValid())
        return QIdentityProxyModel::data(index, role);
    const QModelIndex quelle = mapToSource(index);
    switch (index.column()) {
    case kGroesse:
        if (dateien->isDir(quelle)) break; // folders show no size
        return QLocale().formattedDataSize(dateien->size(quelle));
    case kGeaendert:
        return QLocale().toString(dateien->lastModified(quelle), QLocale::ShortFormat);
    default:
        break;
    }
    return QIdentityProxyModel::data(index, role);
}
