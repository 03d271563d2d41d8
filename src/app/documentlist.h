#pragma once

#include <QList>
#include <QObject>

class MyDocument;
class QWindow;

// The open documents, kept front to back by the activation of their windows.
class DocumentList : public QObject
{
    Q_OBJECT
public:
    explicit DocumentList(QObject *parent = nullptr);

    // Front to back; the first is the frontmost.
    const QList<MyDocument *> &orderedDocuments() const { return m_documents; }
    void add(MyDocument *document);
    void remove(MyDocument *document);
    MyDocument *documentForPath(const QString &path) const;
    int indexOf(const MyDocument *document) const;
    bool isEmpty() const { return m_documents.isEmpty(); }

signals:
    void becameEmpty();

private:
    void windowActivated(QWindow *window);

    QList<MyDocument *> m_documents;
};
