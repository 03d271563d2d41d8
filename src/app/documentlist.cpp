#include "documentlist.h"

#include "document/mydocument.h"
#include "window/mywindow.h"

#include <QGuiApplication>
#include <QWindow>

DocumentList::DocumentList(QObject *parent) : QObject(parent)
{
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &DocumentList::windowActivated);
}

void DocumentList::add(MyDocument *document)
{
    m_documents.prepend(document);
}

void DocumentList::remove(MyDocument *document)
{
    if (m_documents.removeAll(document) > 0 && m_documents.isEmpty())
        emit becameEmpty();
}

MyDocument *DocumentList::documentForPath(const QString &path) const
{
    // From the backmost to the frontmost; the paths are clean, so equal text is one file.
    for (auto it = m_documents.crbegin(); it != m_documents.crend(); ++it)
        if ((*it)->rootFilePath() == path)
            return *it;
    return nullptr;
}

int DocumentList::indexOf(const MyDocument *document) const
{
    return int(m_documents.indexOf(const_cast<MyDocument *>(document)));
}

void DocumentList::windowActivated(QWindow *window)
{
    if (!window)
        return;
    for (qsizetype i = 0; i < m_documents.size(); ++i) {
        if (m_documents[i]->myWindow()->windowHandle() == window) {
            m_documents.move(i, 0);
            return;
        }
    }
}
