#include "alerts/SettingsFile.h"
#include "alerts/AlertSettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

QFile::Permissions permissionsOf(const QString& path)
{
    // Qt adds the "user" bits for the owner running the test.
    return QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Tokens and secrets live there: no one else may read it, even with a
    // permissive umask.
    void onlyTheOwnerCanReadIt()
    {
        QTemporaryDir home;
        const QString path = home.filePath("config/tollwick/tollwick.conf");
        const mode_t umask = ::umask(0);
        {
            AlertSettings settings;
            SettingsFile file(settings, path, home.filePath("none.conf"));
            settings.setChannel(
                {AlertChannel::Kind::DingTalk, "https://bot.invalid/send", "SECret", {}, {}});
            settings.setHeartbeatAddress("https://shop.invalid/heartbeat.php");
        }
        ::umask(umask);
        QCOMPARE(permissionsOf(path), OwnerOnly);
        QCOMPARE(permissionsOf(home.filePath("config/tollwick")), OwnerOnly | QFile::ExeOwner);

        AlertSettings read;
        SettingsFile again(read, path, {});
        QCOMPARE(read.channel().secret, QStringLiteral("SECret"));
        QCOMPARE(read.heartbeatAddress(), QStringLiteral("https://shop.invalid/heartbeat.php"));
    }

    void earlierSettingsMoveIn_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("body");
        QTest::newRow("a GET") << "get" << int(AlertChannel::Kind::CustomGet) << "";
        QTest::newRow("a POST of JSON") << "post-json" << int(AlertChannel::Kind::CustomPost)
                                        << R"({"cause":"{cause}","text":"{text}","time":"{time}"})";
    }

    // An address saved by an earlier version sends as before, from the new
    // place; the old file is gone.
    void earlierSettingsMoveIn()
    {
        QFETCH(QString, method);
        QTemporaryDir home;
        const QString earlier = home.filePath("Unknown Organization/tollwick.conf");
        {
            QSettings old(earlier, QSettings::IniFormat);
            old.setValue("alerts/address", "https://bot.invalid/send?msg={text}");
            old.setValue("alerts/method", method);
            old.setValue("alerts/notifyEachDelivery", false);
        }
        const QString path = home.filePath("tollwick/tollwick.conf");
        {
            AlertSettings settings;
            SettingsFile file(settings, path, earlier);
            QCOMPARE(settings.channel().address,
                     QStringLiteral("https://bot.invalid/send?msg={text}"));
            QTEST(int(settings.channel().kind), "kind");
            QTEST(settings.channel().body, "body");
            QVERIFY(!settings.notifyEachDelivery());
        }
        QVERIFY(!QFile::exists(earlier));
        QCOMPARE(permissionsOf(path), OwnerOnly);
        QVERIFY(!QSettings(path, QSettings::IniFormat).contains("alerts/method"));
        AlertSettings again;
        SettingsFile file(again, path, earlier);
        QTEST(int(again.channel().kind), "kind");
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
