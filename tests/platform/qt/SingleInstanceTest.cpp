// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/SingleInstance.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another local user: nobody.
constexpr uid_t OtherUser = 65534;

bool giveToOtherUser(const QString& path)
{
    return ::chown(QFile::encodeName(path).constData(), OtherUser, OtherUser) == 0;
}

// What another user leaves in `folder` to stop the owner's program: a lock
// naming a live process, this one under its own name.
bool plantLock(const QString& folder, bool asOtherUser)
{
    QFile lock(folder + QStringLiteral("/tollwick.lock"));
    if (!lock.open(QIODevice::WriteOnly))
        return false;
    lock.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
               QCoreApplication::applicationName().toUtf8() + '\n' +
               QSysInfo::machineHostName().toUtf8() + '\n');
    lock.close();
    return !asOtherUser || giveToOtherUser(lock.fileName());
}

// The program started as the owner would start it, in folders of the test's.
void startProgram(QProcess& program, const QTemporaryDir& home, const QStringList& arguments = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TOLLWICK), arguments);
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

    // A second start shows the first and exits; help and version are answered
    // at once, also while a copy runs, which must not be asked to show.
    void aSecondStartShowsTheFirstAndExits_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("activations");
        QTest::newRow("no option") << QString() << 0 << QString() << 1;
        QTest::newRow("version") << "--version" << 0 << "tollwick 3.5\n" << 0;
        QTest::newRow("help") << "--help" << 0 << "Usage: tollwick [options]" << 0;
        QTest::newRow("unknown") << "--frobnicate" << 2 << "tollwick: " << 0;
    }

    void aSecondStartShowsTheFirstAndExits()
    {
        QFETCH(QString, option);
        QFETCH(int, exitCode);
        QFETCH(QString, answer);
        QFETCH(int, activations);
        SingleInstance first(QStringLiteral("tollwick"));
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &SingleInstance::activated);

        QProcess second;
        startProgram(second, m_home, option.isEmpty() ? QStringList() : QStringList{option});
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 5000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), exitCode);
        const QByteArray output =
            exitCode == 0 ? second.readAllStandardOutput() : second.readAllStandardError();
        QVERIFY2(QString::fromUtf8(output).startsWith(answer), output.constData());
        QTest::qWait(200);
        QTRY_COMPARE(activated.size(), activations);
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
        const QString own = QStringLiteral("%1/tollwick-%2").arg(temporary).arg(::geteuid());
        // Qt's runtime folder, taken first, sent the program to the shared one.
        const QString qtRuntime = temporary + "/runtime-" + ::getpwuid(::geteuid())->pw_name;
        QVERIFY(QDir().mkpath(qtRuntime) && plantLock(temporary, otherUsers));
        QVERIFY(!otherUsers || giveToOtherUser(qtRuntime));
        if (folderMode >= 0) {
            QVERIFY(QDir().mkdir(own) && plantLock(own, otherUsers));
            QCOMPARE(::chmod(QFile::encodeName(own).constData(), mode_t(folderMode)), 0);
            QVERIFY(!otherUsers || giveToOtherUser(own));
        }
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_CACHE_HOME");
        qputenv("TMPDIR", QFile::encodeName(temporary));
        qputenv("HOME", QFile::encodeName(home.path()));

        SingleInstance instance(QStringLiteral("tollwick"));
        QVERIFY(instance.claim());
        const QFileInfo used(
            ownFolderUsed ? own
                          : QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                                QStringLiteral("/tollwick"));
        QVERIFY(QFile::exists(used.filePath() + QStringLiteral("/tollwick.lock")));
        QCOMPARE(used.ownerId(), ::geteuid());
        QCOMPARE(used.permissions() & 0x0077, QFile::Permissions());
    }

private:
    QTemporaryDir m_home;
};

TOLLWICK_TEST(SingleInstanceTest)
#include "SingleInstanceTest.moc"
