#include "prefssheetdriver.h"

#include "settings/settingsstore.h"

#include <QFile>
#include <QtTest>

PrefsSheetDriver::PrefsSheetDriver()
    : m_shared(std::make_unique<QuireonPrefs>()), m_window(std::make_unique<QWidget>())
{
    m_shared->awakeFromNib();
    m_window->resize(400, 300);
    m_window->show();
}

PrefsSheetDriver::~PrefsSheetDriver()
{
    if (m_controller.sheet())
        m_controller.prefsCanceled();
    if (gQuireonPrefs == m_shared.get())
        gQuireonPrefs = nullptr;
}

bool PrefsSheetDriver::open()
{
    m_controller.openPreferences(m_window.get());
    return sheet() && QTest::qWaitForWindowExposed(sheet());
}

bool PrefsSheetDriver::openStrings()
{
    m_controller.editStrings();
    return stringSheet() && QTest::qWaitForWindowExposed(stringSheet());
}

QAbstractItemModel *PrefsSheetDriver::table(const char *name) const
{
    const QTableView *view = stringsControl<QTableView>(name);
    return view ? view->model() : nullptr;
}

QStringList PrefsSheetDriver::rows(const char *name) const
{
    QStringList out;
    if (const QAbstractItemModel *model = table(name))
        for (int row = 0; row < model->rowCount(); ++row)
            out << model->index(row, 0).data().toString();
    return out;
}

bool PrefsSheetDriver::setRow(const char *name, int row, const QString &text)
{
    QAbstractItemModel *model = table(name);
    return model && model->setData(model->index(row, 0), text, Qt::EditRole);
}

QByteArray PrefsSheetDriver::storeBytes()
{
    QFile file(SettingsStore().fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<QuireonPrefs> PrefsSheetDriver::reloaded()
{
    std::unique_ptr<QuireonPrefs> prefs = QuireonPrefs::defaultPrefs();
    prefs->loadPreferences();
    return prefs;
}
