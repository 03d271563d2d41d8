// The document window's process menu: its items, their shortcuts, and their validation,
// which ties an item to a button by its title.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "project/symlinkcontroller.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "window/mywindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
// The title an item shows; "&&" stands for one ampersand in a menu text.
QString titleOf(const QAction *item) {
    return item->text().replace(QLatin1String("&&"), QLatin1String("&"));
}

QString menuText(const QString &title) {
    return QString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Items that are not process items: disabled while their condition holds.
struct DocumentItem {
    const char *key;
    bool disabledWhenRunning;
};
constexpr DocumentItem kDocumentItems[] = {
    {"Menu ClearLog", true},      {"Menu ClearFiles", true}, {"Menu RunSequence", true},
    {"Menu StopSequence", false}, {"Menu SymLink", true},
};
} // namespace

void MyDocument::installMenus(QMenuBar *bar) {
    auto *menu = new QMenu(Text::localized("Menu Process"), bar);
    menu->setObjectName(QStringLiteral("menuProcess"));
    bar->addMenu(menu);
    m_processMenu = menu;
    using Action = void (MyDocument::*)();
    const Action commands[] = {&MyDocument::exec1, &MyDocument::exec2, &MyDocument::exec3,
                               &MyDocument::exec4, &MyDocument::exec5};
    const Action opens[] = {&MyDocument::openFile1, &MyDocument::openFile2, &MyDocument::openFile3,
                            &MyDocument::openFile4, &MyDocument::openFile5};
    for (int i = 0; i < 5; ++i)
        addProcessItem(
            qPrintable(QStringLiteral("actionExec%1").arg(i + 1)), gQuireonPrefs->cmdNameAtIndex(i),
            QKeySequence(QKeyCombination(Qt::CTRL, Qt::Key(Qt::Key_1 + i))), commands[i]);
    menu->addSeparator();
    for (int i = 0; i < 5; ++i)
        addProcessItem(qPrintable(QStringLiteral("actionOpenFile%1").arg(i + 1)),
                       gQuireonPrefs->openNameAtIndex(i), {}, opens[i]);
    menu->addSeparator();
    addProcessItem("actionRunSequence", Text::localized("Menu RunSequence"),
                   QKeySequence(Qt::CTRL | Qt::Key_R), &MyDocument::startStopSequence);
    addProcessItem("actionStopSequence", Text::localized("Menu StopSequence"),
                   QKeySequence(Qt::CTRL | Qt::Key_Period), &MyDocument::startStopSequence);
    addProcessItem("actionClearLog", Text::localized("Menu ClearLog"),
                   QKeySequence(Qt::CTRL | Qt::Key_K), &MyDocument::clearLog);
    addProcessItem("actionClearFiles", Text::localized("Menu ClearFiles"), {},
                   &MyDocument::clearFiles);
    addProcessItem("actionSymLink", Text::localized("Menu SymLink"), {},
                   &MyDocument::createSymLink);
    connect(menu, &QMenu::aboutToShow, this, &MyDocument::validateMenus);
    validateMenus();
}

// The action runs only when validation allows the item at the moment it fires, so a
// shortcut pressed between two refreshes cannot reach a disabled command.
void MyDocument::addProcessItem(const char *name, const QString &title,
                                const QKeySequence &shortcut, void (MyDocument::*action)()) {
    auto *item = new QAction(menuText(title), m_processMenu);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    connect(item, &QAction::triggered, this, [this, item, action] {
        if (validateMenuItem(item))
            (this->*action)();
    });
    m_processMenu->addAction(item);
}

void MyDocument::validateMenus() {
    if (!m_processMenu)
        return;
    for (QAction *item : m_processMenu->actions())
        if (!item->isSeparator())
            item->setEnabled(validateMenuItem(item));
}

bool MyDocument::validateMenuItem(const QAction *item) const {
    const QString title = titleOf(item);
    int proc = 0;
    if (menuTitleIsButton(title, &proc)) {
        if (isRunning())
            return false;
        if (proc >= 1 && proc <= 5)
            return commandButtons()[proc - 1]->isEnabled();
        if (proc >= 6 && proc <= 10)
            return openButtons()[proc - 6]->isEnabled();
        return true;
    }
    for (const DocumentItem &documentItem : kDocumentItems)
        if (title == Text::localized(documentItem.key) &&
            isRunning() == documentItem.disabledWhenRunning)
            return false;
    return true;
}

bool MyDocument::menuTitleIsButton(const QString &title, int *proc) {
    *proc = 0;
    const QStringList names = gQuireonPrefs->cmdNameArray() + gQuireonPrefs->openNameArray();
    for (const QString &name : names) {
        ++*proc;
        if (name == title)
            return true;
    }
    return false;
}

void MyDocument::createSymLink() {
    if (isRunning())
        return;
    if (!symLinkController)
        symLinkController = new SymLinkController(this);
    symLinkController->createSymLink(m_myWindow.get(), m_rootFilePath,
                                     [this] { enableButtons(true); });
}
