// The main menu that every document window carries, and the process menu's titles.
#include "appcontroller.h"
#include "documentlist.h"
#include "recentdocuments.h"

#include "document/mydocument.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "window/mywindow.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>

static QAction *addItem(QMenu *menu, const QString &title, const char *name,
                        const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(title);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QMenu *AppController::fileMenu(QMenuBar *bar, MyDocument *document)
{
    QMenu *menu = bar->addMenu(tr("&File"));
    menu->setObjectName(QStringLiteral("menuFile"));
    connect(addItem(menu, tr("&Open..."), "actionOpen", QKeySequence::Open),
            &QAction::triggered, this, &AppController::openDocument);
    QMenu *recent = menu->addMenu(tr("Open &Recent"));
    recent->setObjectName(QStringLiteral("menuOpenRecent"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    connect(addItem(menu, tr("&New from Template..."), "actionNewFromTemplate",
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)),
            &QAction::triggered, this, [this, document] { newFromTemplate(document->myWindow()); });
    menu->addSeparator();
    connect(addItem(menu, tr("&Preferences..."), "actionPreferences",
                    QKeySequence(Qt::CTRL | Qt::Key_Comma)),
            &QAction::triggered, this, [this, document] { emit preferencesRequested(document->myWindow()); });
    menu->addSeparator();
    connect(addItem(menu, tr("&Close"), "actionClose", QKeySequence::Close), &QAction::triggered,
            document->myWindow(), &QWidget::close);
    connect(addItem(menu, tr("&Quit"), "actionQuit", QKeySequence::Quit), &QAction::triggered,
            this, &AppController::quit);
    return menu;
}

void AppController::fillRecentMenu(QMenu *menu)
{
    menu->clear();
    for (const QString &path : RecentDocuments::list())
        connect(menu->addAction(path), &QAction::triggered, this, [this, path] { openFile(path); });
    menu->addSeparator();
    QAction *clear = menu->addAction(tr("Clear Menu"));
    clear->setEnabled(!RecentDocuments::list().isEmpty());
    connect(clear, &QAction::triggered, this, [] { RecentDocuments::clear(); });
}

void AppController::installMainMenu(QMenuBar *bar, MyDocument *document)
{
    fileMenu(bar, document);
    document->installMenus(bar);
    QMenu *help = bar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    connect(addItem(help, tr("&About Quireon"), "actionAbout"), &QAction::triggered, this,
            [document] {
                QMessageBox::about(document->myWindow(), tr("About Quireon"),
                                   tr("<b>Quireon %1</b><p>A desktop front end for typesetting "
                                      "with TeX and LaTeX.</p>")
                                       .arg(QCoreApplication::applicationVersion()));
            });
}

// A name shown as a menu title: "&&" stands for one ampersand, never a mnemonic.
static QString menuText(QString name)
{
    return name.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Items 0..n-1 take the command names, item n (the separator) is skipped, and the items
// after it take the open names. Only titles change.
static void retitleProcessMenu(QMenu *menu)
{
    const QList<QAction *> items = menu->actions();
    const QStringList commands = gQuireonPrefs->cmdNameArray();
    const QStringList opens = gQuireonPrefs->openNameArray();
    for (qsizetype i = 0; i < commands.size() && i < items.size(); ++i)
        items[i]->setText(menuText(commands[i]));
    for (qsizetype j = 0; j < opens.size() && commands.size() + 1 + j < items.size(); ++j)
        items[commands.size() + 1 + j]->setText(menuText(opens[j]));
}

void AppController::setMenuItems()
{
    const QString title = Text::localized("Menu Process");
    for (MyDocument *document : m_documents->orderedDocuments())
        for (QAction *top : document->myWindow()->menuBar()->actions())
            if (top->menu() && top->text() == title)
                retitleProcessMenu(top->menu());
}
