#pragma once
// The file list of Qt's own file dialog in the program's locale.
#include <QIdentityProxyModel>

// QFileSystemModel writes the size and date columns with the system's locale, not with the
// default the program sets; over it, this proxy writes them with QLocale() (German), so the
// dialog shows "05.03.24 07:30" and "1,50 KiB" whatever LANG says.
class Dateiliste : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
