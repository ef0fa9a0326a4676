#include "platform/qt/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another local user: nobody.
constexpr uid_t OtherUser = 65534;

// What another user leaves in `folder` to stop the owner's program: a lock
// naming a live process, and a socket that listens.
std::unique_ptr<QLocalServer> plantLockAndSocket(const QString& folder, bool asOtherUser)
{
    const QString lock = folder + QStringLiteral("/tollwick.lock");
    QFile file(lock);
    if (!file.open(QIODevice::WriteOnly))
        return nullptr;
    // This process is the live one, so the name must be its own.
    file.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
               QCoreApplication::applicationName().toUtf8() + '\n' +
               QSysInfo::machineHostName().toUtf8() + '\n');
    file.close();
    auto server = std::make_unique<QLocalServer>();
    if (!server->listen(folder + QStringLiteral("/tollwick.socket")))
        return nullptr;
    for (const QString& path : {lock, server->fullServerName()}) {
        if (asOtherUser && ::chown(QFile::encodeName(path).constData(), OtherUser, OtherUser) != 0)
            return nullptr;
    }
    return server;
}

// Mode and owner of `path`; all ones when it is missing.
std::pair<int, uid_t> modeAndOwner(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return {-1, uid_t(-1)};
    return {int(status.st_mode & 07777), status.st_uid};
}

// The program started as the owner would start it, in folders of the test's.
void startProgram(QProcess& program, const QTemporaryDir& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TOLLWICK), {});
}

} // namespace

// Two scanners would deliver every payment twice.
class SingleInstanceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_home.isValid());
        const QString runtime = m_home.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }

    void aSecondStartShowsTheFirstAndExits()
    {
        SingleInstance first(QStringLiteral("tollwick"));
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &SingleInstance::activated);

        QProcess second;
        QElapsedTimer took;
        took.start();
        startProgram(second, m_home);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 5000);
        QVERIFY(took.elapsed() < 5000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(activated.size(), 1);
    }

    void aCrashedHolderDoesNotBlockTheNextStart()
    {
        QProcess crashing;
        startProgram(crashing, m_home);
        const QString lock = m_home.filePath(QStringLiteral("run/tollwick.lock"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 30000);
        crashing.kill();
        QVERIFY(crashing.waitForFinished());
        QVERIFY(QFile::exists(lock));

        SingleInstance next(QStringLiteral("tollwick"));
        QVERIFY(next.claim());
    }

    // Without a runtime folder, nothing another user made in the shared
    // temporary folder can stop the owner's program: its own folder there is
    // used only when it is the owner's and private, the cache folder
    // otherwise.
    void anotherUsersFilesDoNotStopTheProgram_data()
    {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<bool>("otherUsers");
        QTest::addColumn<bool>("ownFolderUsed");
        QTest::newRow("nothing there yet") << -1 << false << true;
        QTest::newRow("another user's folder") << 0700 << true << false;
        QTest::newRow("a folder open to all") << 0777 << false << false;
    }

    void anotherUsersFilesDoNotStopTheProgram()
    {
        QFETCH(int, folderMode);
        QFETCH(bool, otherUsers);
        QFETCH(bool, ownFolderUsed);
        if (otherUsers && ::geteuid() != 0)
            QSKIP("only root can make files another user owns");
        const QTemporaryDir home;
        const QString temporary = home.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(temporary));
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_CACHE_HOME");
        qputenv("TMPDIR", QFile::encodeName(temporary));
        qputenv("HOME", QFile::encodeName(home.path()));
        const uid_t owner = ::geteuid();
        const QString own = QStringLiteral("%1/tollwick-%2").arg(temporary).arg(owner);

        // The shared folder's lock and socket; and Qt's runtime folder taken
        // first, which made the program use them.
        const auto shared = plantLockAndSocket(temporary, otherUsers);
        QVERIFY(shared);
        const QString qtRuntime =
            temporary + QStringLiteral("/runtime-") + ::getpwuid(owner)->pw_name;
        QVERIFY(QDir().mkdir(qtRuntime));
        if (otherUsers)
            QCOMPARE(::chown(QFile::encodeName(qtRuntime).constData(), OtherUser, OtherUser), 0);
        std::unique_ptr<QLocalServer> squatted;
        if (folderMode >= 0) {
            QVERIFY(QDir().mkdir(own));
            squatted = plantLockAndSocket(own, otherUsers);
            QVERIFY(squatted);
            QCOMPARE(::chmod(QFile::encodeName(own).constData(), mode_t(folderMode)), 0);
            if (otherUsers)
                QCOMPARE(::chown(QFile::encodeName(own).constData(), OtherUser, OtherUser), 0);
        }

        SingleInstance instance(QStringLiteral("tollwick"));
        QVERIFY(instance.claim());
        const QString folder =
            ownFolderUsed ? own
                          : QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                                QStringLiteral("/tollwick");
        QCOMPARE(modeAndOwner(folder), std::make_pair(0700, owner));
        QVERIFY(QFile::exists(folder + QStringLiteral("/tollwick.lock")));
    }

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
