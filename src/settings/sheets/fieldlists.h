#pragma once

#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QWidget>

// Rows of numbered controls of a sheet ("cmdName1" .. "cmdName5") and the moves of a list
// of strings into and out of a row of text fields.
namespace FieldLists {
// The children of form named by pattern with %1 = 1..count (two digits when asked), in order.
template <typename Control>
QList<Control *> named(const QWidget *form, const char *pattern, int count, bool twoDigits = false)
{
    QList<Control *> out;
    for (int i = 1; i <= count; ++i) {
        const QString name = QString::fromLatin1(pattern).arg(i, twoDigits ? 2 : 1, 10, QLatin1Char('0'));
        Control *control = form->findChild<Control *>(name);
        Q_ASSERT_X(control, "FieldLists::named", qPrintable(name));
        out.append(control);
    }
    return out;
}

// Sets each field to the string at its position; fields beyond the list are emptied, so
// that nothing of an earlier filling stays behind.
void setControlStringsFrom(const QStringList &strings, const QList<QLineEdit *> &fields);
// The texts of the fields, in order and unchanged.
QStringList getControlStringsFrom(const QList<QLineEdit *> &fields);
} // namespace FieldLists
