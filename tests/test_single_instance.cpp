// A second launch hands its files to the running instance and exits at once.
#include "app/singleinstance.h"
#include "testsupport.h"

#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void init() { TestSupport::freshSettings(); }

    void secondLaunchHandsOverItsFiles() {
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
        QCOMPARE(std::pair(second.exitStatus(), second.exitCode()), std::pair(QProcess::NormalExit, 0));
        QCOMPARE(requested.first().first().toStringList(), QStringList({dir.filePath(odd), "/abs/b.tex"}));
    }

    // A live instance's socket is its user's alone and left to it; a stale one is replaced.
    void staleSocketIsReplaced() {
        const QString name = QStringLiteral("quireon-test-stale-%1").arg(QCoreApplication::applicationPid());
        {
            SingleInstance crashed(name);
            QVERIFY(crashed.listen());
            // Only the user may connect: nobody else hands this instance files.
            const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
            QCOMPARE(QFileInfo(QDir::temp().filePath(name)).permissions() & others, QFile::Permissions());
            QVERIFY(!SingleInstance(name).listen());
            QLocalSocket probe;
            probe.connectToServer(name);
            QVERIFY(probe.waitForConnected(1000));
        } // the server is gone, as after a crash
        SingleInstance next(name);
        QVERIFY(!next.handOver({"/x.tex"}));
        QVERIFY(next.listen());
    }

    // A request that arrives in pieces is taken only once it is whole.
    void aRequestInPiecesIsReadWhole() {
        const QString name = QStringLiteral("quireon-test-pieces-%1").arg(QCoreApplication::applicationPid());
        SingleInstance running(name);
        QVERIFY(running.listen());
        QSignalSpy requested(&running, &SingleInstance::filesRequested);
        const QStringList files{"/a/thesis.tex", "/b.tex"};
        QByteArray body, request; // the length, then the list
        QDataStream bodyStream(&body, QIODevice::WriteOnly), requestStream(&request, QIODevice::WriteOnly);
        bodyStream << files;
        requestStream << quint32(body.size());
        request += body;
        QLocalSocket client;
        client.connectToServer(name);
        QTRY_VERIFY(running.findChild<QLocalSocket *>());
        QSignalSpy arrived(running.findChild<QLocalSocket *>(), &QLocalSocket::readyRead);
        for (const QByteArray &piece : {request.left(2), request.mid(2, request.size() - 5)}) {
            client.write(piece); // part of the length, then all but the list's end
            QVERIFY(arrived.wait(1000));
            QVERIFY(requested.isEmpty());
        }
        client.write(request.right(3));
        QVERIFY(requested.wait(5000));
        QCOMPARE(requested.first().first().toStringList(), files);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_single_instance.moc"
