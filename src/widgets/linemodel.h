#pragma once

#include <QAbstractListModel>
#include <QStringList>

/** The lines of a TabbedList: plain text rows that can be appended in bulk without a reset, so
 *  the chosen line and the scroll position stay while a long list is filled in pages. */
class LineModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QStringList& lines() const { return m_lines; }
    void setLines(const QStringList& lines);
    void append(const QStringList& lines);
    void remove(int row);

private:
    QStringList m_lines;
};
