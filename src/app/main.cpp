#include "app/appcontroller.h"
#include "app/firstpaintprobe.h"
#include "app/singleinstance.h"
#include "batch/commandlinerun.h"
#include "platform/windowsystem.h"
#include "process/exitguard.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "settings/sheets/prefscontroller.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>

static QStringList absolutePaths(const QStringList &arguments)
{
    QStringList paths;
    for (const QString &argument : arguments)
        paths << QDir::current().absoluteFilePath(argument);
    return paths;
}

int main(int argc, char *argv[])
{
    // Batch runs, --help and --version need no display and never hand over to a running
    // Quireon, so they are decided before any window system is touched.
    if (CommandLineRun::wanted(argc, argv))
        return CommandLineRun::run(argc, argv);
    WindowSystem::preferX11ForFloating();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quireon"));
    QApplication::setApplicationVersion(QStringLiteral(QUIREON_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quireon"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quireon.svg")));
    // Documents and the start window decide when Quireon quits.
    QApplication::setQuitOnLastWindowClosed(false);
    installFirstPaintProbe(app);

    const QStringList files = absolutePaths(app.arguments().mid(1));
    SingleInstance instance;
    // A Quireon that started listening meanwhile takes the files after all.
    if (instance.handOver(files) || (!instance.listen() && instance.handOver(files)))
        return 0;

    Text::installTable();
    QuireonPrefs prefs;
    prefs.awakeFromNib();
    PrefsController prefsController;
    // Destroyed after the documents, whose runs hand unfinished tools to the reaper.
    ExitGuard exitGuard;
    AppController controller;
    QObject::connect(&exitGuard, &ExitGuard::stopRequested, &controller, &AppController::endOnSignal);
    QObject::connect(&controller, &AppController::preferencesRequested, &prefsController,
                     &PrefsController::openPreferences);
    // Queued: the alert that refuses a handed-over file runs an event loop of its own, in
    // which the hand-over's socket, once the second launch has gone, is deleted; inside
    // that socket's own report, that would pull it away under its caller.
    QObject::connect(&instance, &SingleInstance::filesRequested, &controller,
                     &AppController::openFiles, Qt::QueuedConnection);
    QTimer::singleShot(0, &controller, [&] { controller.applicationDidFinishLaunching(files); });
    return app.exec();
}
