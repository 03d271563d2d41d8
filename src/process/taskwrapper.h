#pragma once

#include "taskwrappercontroller.h"

#include <QObject>
#include <QPointer>

// Runs one external command as a child process and reports to its controller.
// The launch path is used unchanged (no PATH search, no shell); standard output and
// standard error are joined into one pipe; the input text is written to a standard input
// that stays open; the end of the run is the end of the output. One runner, one command.
class TaskWrapper : public QObject
{
    Q_OBJECT
public:
    TaskWrapper(TaskWrapperController *controller, const QStringList &arguments,
                const QString &workingDir, const QString &inputString, quint32 encoding,
                QObject *parent = nullptr);
    ~TaskWrapper() override; // stopProcess() first

    bool startProcess();
    void stopProcess();
    bool isRunning() const;
    int terminationStatus() const;
    const QStringList &arguments() const { return m_arguments; }

private:
    struct Private;
    TaskWrapperController *m_controller;
    QStringList m_arguments;
    QString m_workingDir;
    QByteArray m_inputData;
    quint32 m_outputEncoding;
    std::unique_ptr<Private> d;
};
