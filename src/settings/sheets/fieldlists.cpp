#include "fieldlists.h"

namespace FieldLists {
void setControlStringsFrom(const QStringList &strings, const QList<QLineEdit *> &fields)
{
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->setText(strings.value(i));
}

QStringList getControlStringsFrom(const QList<QLineEdit *> &fields)
{
    QStringList out;
    for (const QLineEdit *field : fields)
        out.append(field->text());
    return out;
}
} // namespace FieldLists
