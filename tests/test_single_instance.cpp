// A second launch hands its files to the running instance and exits at once.
#include "app/singleinstance.h"
#include "testsupport.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::freshSettings(); }

    void secondLaunchHandsOverItsFiles()
    {
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy requested(&running, &SingleInstance::filesRequested);

        QTemporaryDir dir;
        const QString odd = QStringLiteral("my thesis; $(id) 'q\"\nü.tex");
        QProcess second;
        second.setWorkingDirectory(dir.path());
        second.start(QStringLiteral(QUIREON_BINARY_DIR "/src/quireon"), {odd, "/abs/b.tex"});
        QVERIFY(requested.wait(10000));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        const QStringList files = requested.first().first().toStringList();
        QCOMPARE(files, QStringList({dir.filePath(odd), "/abs/b.tex"}));
    }

    // Two quick launches: the later one leaves the socket of the live one alone; only a
    // socket nobody answers on, as a crash leaves it, is replaced.
    void onlyAnUnansweredSocketIsReplaced()
    {
        const QString name = QStringLiteral("quireon-test-stale-%1").arg(QCoreApplication::applicationPid());
        QString path;
        {
            SingleInstance first(name);
            QVERIFY(first.listen());
            SingleInstance second(name);
            QVERIFY(!second.listen());
            QLocalSocket probe;
            probe.connectToServer(name);
            QVERIFY(probe.waitForConnected(1000));
            path = probe.fullServerName();
        }
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd); // bound, and nobody listens
        SingleInstance next(name);
        QVERIFY(!next.handOver({"/x.tex"}));
        QVERIFY(next.listen());
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
