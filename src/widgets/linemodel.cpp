#include "widgets/linemodel.h"

int LineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant LineModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_lines[index.row()];
}

void LineModel::setLines(const QStringList& lines)
{
    beginResetModel();
    m_lines = lines;
    endResetModel();
}

void LineModel::append(const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    const int first = static_cast<int>(m_lines.size());
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    m_lines += lines;
    endInsertRows();
}

void LineModel::remove(int row)
{
    if (row < 0 || row >= m_lines.size())
        return;
    beginRemoveRows({}, row, row);
    m_lines.removeAt(row);
    endRemoveRows();
}
