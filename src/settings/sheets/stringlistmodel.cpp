#include "stringlistmodel.h"

#include <QCollator>
#include <algorithm>

static bool isBlank(const QString &s)
{
    return std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c.isSpace(); });
}

void sortStringArray(QStringList &list)
{
    QCollator collator;
    std::stable_sort(list.begin(), list.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    list.removeIf(isBlank);
}

void StringListModel::setStrings(const QStringList &strings)
{
    beginResetModel();
    m_strings = strings;
    endResetModel();
}

void StringListModel::sortAndClean()
{
    QStringList cleaned = m_strings;
    sortStringArray(cleaned);
    setStrings(cleaned);
}

int StringListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_strings.size()) + 1;
}

int StringListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant StringListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return index.row() < m_strings.size() ? m_strings.at(index.row()) : QString();
}

bool StringListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int row = index.row();
    const int count = int(m_strings.size());
    if (row < count) {
        m_strings[row] = value.toString();
        emit dataChanged(index, index);
        return true;
    }
    // Leaving the empty row without typing anything adds nothing.
    if (value.toString().isEmpty())
        return false;
    beginInsertRows({}, count + 1, count + 1);
    m_strings.append(value.toString());
    endInsertRows();
    emit dataChanged(this->index(count, 0), this->index(count, 0));
    return true;
}

Qt::ItemFlags StringListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
