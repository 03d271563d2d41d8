#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// Sorts a list of log prefixes by the user's locale and drops the entries that are empty
// or blank. Leading and trailing blanks of the other entries and duplicates are kept:
// "I found no " matches differently without its trailing blank.
void sortStringArray(QStringList &list);

// One editable column over a list of strings, with one more row than the list holds: the
// trailing empty row is where a new entry is typed.
class StringListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    const QStringList &strings() const { return m_strings; }
    void setStrings(const QStringList &strings);
    // Sorts and cleans the list in place (sortStringArray) and shows the result.
    void sortAndClean();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QStringList m_strings;
};
