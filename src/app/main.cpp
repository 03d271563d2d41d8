#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quireon"));
    Text::installTable();
    QuireonPrefs prefs;
    prefs.awakeFromNib();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quireon"));
    window.show();
    return app.exec();
}
