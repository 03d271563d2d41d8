// A second launch hands its files to the running instance and exits at once; the socket
// lives in a folder of the user's alone, and both ends deal only with the same user.
#include "app/singleinstance.h"
#include "testsupport.h"

#include <QLocalSocket>
#include <QProcess>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr uid_t kStranger = 65534; // nobody
const QString kStrangerPeer = QStringLiteral(QUIREON_BINARY_DIR "/tests/stranger_peer");
const QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                   QFile::WriteOther | QFile::ExeOther;
} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
    QTemporaryDir runtime; // a private runtime folder, as a session has

private slots:
    void init() {
        TestSupport::freshSettings();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }

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

    // The socket goes to the session's runtime folder, else to a folder of Quireon's own
    // in the cache folder, made private; a folder others can reach or own is refused.
    void socketFolder_data() {
        // mode -1: absent (runtime: unset), -2: a file; expected: "" for no socket at all
        TestSupport::columns<int, uint, int, uint, QString>(
            {"runtimeMode", "runtimeOwner", "ownMode", "ownOwner", "expected"});
        const uint me = ::getuid();
        QTest::newRow("private runtime folder") << 0700 << me << -1 << me << "run";
        QTest::newRow("runtime folder open to others") << 0711 << me << -1 << me << "cache/quireon-runtime";
        QTest::newRow("runtime folder of another user") << 0700 << uint(kStranger) << -1 << me << "cache/quireon-runtime";
        QTest::newRow("runtime folder a file") << -2 << me << 0700 << me << "cache/quireon-runtime";
        QTest::newRow("no runtime folder") << -1 << me << -1 << me << "cache/quireon-runtime";
        QTest::newRow("own folder open to others") << -1 << me << 0705 << me << "";
        QTest::newRow("own folder of another user") << 0755 << me << 0700 << uint(kStranger) << "";
    }
    void socketFolder() {
        QFETCH(int, runtimeMode);
        QFETCH(uint, runtimeOwner);
        QFETCH(int, ownMode);
        QFETCH(uint, ownOwner);
        QFETCH(QString, expected);
        if ((runtimeOwner != ::getuid() || ownOwner != ::getuid()) && ::getuid() != 0)
            QSKIP("giving a folder to another user takes root");
        QTemporaryDir base;
        const auto make = [&](const QString &name, int mode, uint owner) {
            const QByteArray path = QFile::encodeName(base.filePath(name));
            if (mode == -2) // private, but no folder
                return QFile(path).open(QIODevice::WriteOnly) && ::chmod(path, 0600) == 0;
            return mode == -1 || (QDir().mkpath(path) && ::chmod(path, mode_t(mode)) == 0 &&
                                  ::chown(path, owner, gid_t(-1)) == 0);
        };
        const QString own = base.filePath("cache/quireon-runtime");
        QVERIFY(make("run", runtimeMode, runtimeOwner) && make("cache/quireon-runtime", ownMode, ownOwner));
        const QFile::Permissions ownBefore = QFileInfo(own).permissions();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(base.filePath("cache")));
        if (runtimeMode == -1)
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base.filePath("run")));

        const QString name = SingleInstance::defaultServerName();
        if (expected.isEmpty()) {
            QCOMPARE(name, QString());
            QVERIFY(!SingleInstance().listen());
        } else {
            QCOMPARE(QFileInfo(name).path(), base.filePath(expected));
            QCOMPARE(QFileInfo(base.filePath(expected)).permissions() & kOthers, QFile::Permissions());
        }
        if (ownMode >= 0)
            QCOMPARE(QFileInfo(own).permissions(), ownBefore); // refused, never repaired
    }

    // A live instance's socket is its user's alone and left to it; a stale one is replaced.
    void staleSocketIsReplaced() {
        const QString name = runtime.filePath("stale");
        {
            SingleInstance crashed(name);
            QVERIFY(crashed.listen());
            // Only the user may connect: nobody else hands this instance files.
            QCOMPARE(QFileInfo(name).permissions() & kOthers, QFile::Permissions());
            QVERIFY(!SingleInstance(name).listen());
            QLocalSocket probe;
            probe.connectToServer(name);
            QVERIFY(probe.waitForConnected(1000));
        } // the server is gone, as after a crash
        SingleInstance next(name);
        QVERIFY(!next.handOver({"/x.tex"}));
        QVERIFY(next.listen());
    }

    // A socket of another user gets no files, and the launch takes the name for itself.
    void aStrangersSocketGetsNoFiles() {
        if (::getuid() != 0)
            QSKIP("playing another user takes root");
        const QString name = runtime.filePath("squatted");
        QProcess stranger;
        // The helper plays another user (see tests/helpers/stranger_peer.cpp).
        stranger.start(kStrangerPeer, {"serve", name, QString::number(kStranger)});
        QVERIFY(stranger.waitForStarted());
        QVERIFY(stranger.waitForReadyRead(5000) && stranger.readLine() == "ready\n");
        SingleInstance launch(name);
        QVERIFY(!launch.handOver({"/secret/thesis.tex"}));
        QVERIFY(launch.listen());
        stranger.kill();
        QVERIFY(stranger.waitForFinished());
        QCOMPARE(stranger.readAll(), QByteArray());
    }

    // A launch of another user that reaches the socket is not listened to.
    void aStrangersRequestIsIgnored() {
        if (::getuid() != 0)
            QSKIP("playing another user takes root");
        QTemporaryDir open; // reachable for the stranger, unlike a runtime folder
        QVERIFY(QFile::setPermissions(open.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                       QFile::ExeGroup | QFile::ExeOther));
        const QString name = open.filePath("socket");
        SingleInstance running(name);
        QVERIFY(running.listen());
        QVERIFY(::chmod(QFile::encodeName(name), 0777) == 0);
        QSignalSpy requested(&running, &SingleInstance::filesRequested);
        QProcess stranger;
        stranger.start(kStrangerPeer, {"send", name, QString::number(kStranger), "/evil.tex"});
        QVERIFY(stranger.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] { return stranger.state() == QProcess::NotRunning; }, 10000));
        QCOMPARE(std::pair(stranger.exitCode(), stranger.readAll()), std::pair(0, QByteArray("not answered\n")));
        QCOMPARE(requested.count(), 0);
    }

    // A request that arrives in pieces is taken only once it is whole.
    void aRequestInPiecesIsReadWhole() {
        const QString name = runtime.filePath("pieces");
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
