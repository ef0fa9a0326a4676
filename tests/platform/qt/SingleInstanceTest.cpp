#include "platform/qt/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

    // Answered at once, also while a copy runs, which must not be asked to show.
    void helpAndVersionAnswerWhileACopyRuns_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("version") << "--version"
                                 << "tollwick 3.5\n"
                                 << 0;
        QTest::newRow("help") << "--help"
                              << "Usage: tollwick [options]" << 0;
        QTest::newRow("unknown") << "--frobnicate"
                                 << "tollwick: " << 2;
    }

    void helpAndVersionAnswerWhileACopyRuns()
    {
        QFETCH(QString, option);
        QFETCH(QString, answer);
        QFETCH(int, exitCode);
        SingleInstance first(QStringLiteral("tollwick"));
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &SingleInstance::activated);

        QProcess program;
        program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        program.start(QStringLiteral(TOLLWICK), {option});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), exitCode);
        const QByteArray output =
            exitCode == 0 ? program.readAllStandardOutput() : program.readAllStandardError();
        QVERIFY2(QString::fromUtf8(output).startsWith(answer), output.constData());
        QTest::qWait(200);
        QCOMPARE(activated.size(), 0);
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

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
