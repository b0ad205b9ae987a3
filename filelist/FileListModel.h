#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace velunor {

// The file list itself: one full path per item, in display order. Items are
// numbered from 1, as every caller counts them.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setColumnHeader(const QString &text);
    const QString &columnHeader() const { return header_; }

    int count() const { return static_cast<int>(paths_.size()); }
    // 1-based.
    const QString &text(int index) const { return paths_.at(index - 1); }
    void setText(int index, const QString &text);
    void add(const QString &text);
    void add(const QStringList &texts);
    void remove(int index);
    void clear();
    const QStringList &texts() const { return paths_; }

private:
    QStringList paths_;
    QString header_;
};

} // namespace velunor
