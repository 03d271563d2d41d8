#include "document/mydocument.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>

// Until the application delegate exists, each FILE argument opens as a document.
int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quireon"));
    Text::installTable();
    QuireonPrefs prefs;
    prefs.awakeFromNib();
    QList<QPointer<MyDocument>> documents;
    for (const QString &argument : app.arguments().mid(1)) {
        auto *document = new MyDocument;
        QObject::connect(document, &MyDocument::closed, document, &QObject::deleteLater);
        document->setFileName(QFileInfo(argument).absoluteFilePath());
        document->showWindow();
        documents << document;
    }
    const int status = documents.isEmpty() ? 0 : app.exec();
    qDeleteAll(documents);
    return status;
}
