// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingsFile.h"
#include "alerts/AlertSettings.h"
#include "fakes/FakeKeyring.h"
#include "settings/SecretStore.h"
#include "support/TestRegistry.h"

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

// One start of the program: its alert settings read from `path` and the
// keyring, as far as the keyring has answered.
struct Start {
    Start(FakeKeyring& keyring, const QString& path, const QString& earlier = {})
        : secrets(keyring, path)
        , file(settings, secrets, path, earlier)
    {
    }
    AlertSettings settings;
    SecretStore secrets;
    SettingsFile file;
};

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Tokens and secrets go to the keyring where one answers, and otherwise
    // into a file no one else may read, even with a permissive umask.
    void secretsGoWhereOnlyTheOwnerReadsThem_data()
    {
        QTest::addColumn<bool>("keyring");
        QTest::newRow("a keyring answers") << true;
        QTest::newRow("no keyring") << false;
    }

    void secretsGoWhereOnlyTheOwnerReadsThem()
    {
        QFETCH(bool, keyring);
        QTemporaryDir home;
        FakeClock clock;
        FakeKeyring keys(clock);
        keys.available = keyring;
        const QString path = home.filePath("config/tollwick/tollwick.conf");
        const mode_t umask = ::umask(0);
        {
            Start start(keys, path);
            clock.advance(0);
            start.settings.setChannel({AlertChannel::Kind::DingTalk,
                                       "https://bot.invalid/send?access_token=T0KEN",
                                       "SECret",
                                       {},
                                       {}});
            start.settings.setHeartbeatAddress("https://shop.invalid/heartbeat.php");
            clock.advance(0);
            QCOMPARE(start.secrets.place(),
                     keyring ? SecretStore::Place::Keyring : SecretStore::Place::SettingsFile);
        }
        ::umask(umask);
        QCOMPARE(permissionsOf(path), OwnerOnly);
        QCOMPARE(permissionsOf(home.filePath("config/tollwick")), OwnerOnly | QFile::ExeOwner);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.contains("T0KEN") || bytes.contains("SECret"), !keyring);
        QCOMPARE(keys.secrets.size(), keyring ? 3 : 0);

        Start again(keys, path);
        QVERIFY(!again.settings.loaded());
        clock.advance(0);
        QVERIFY(again.settings.loaded());
        QCOMPARE(again.settings.channel().secret, QStringLiteral("SECret"));
        QCOMPARE(again.settings.heartbeatAddress(),
                 QStringLiteral("https://shop.invalid/heartbeat.php"));
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
    // place, and moves into the keyring; the old file is gone.
    void earlierSettingsMoveIn()
    {
        QFETCH(QString, method);
        QTemporaryDir home;
        FakeClock clock;
        FakeKeyring keys(clock);
        const QString earlier = home.filePath("Unknown Organization/tollwick.conf");
        const QString address = QStringLiteral("https://bot.invalid/send?msg={text}");
        {
            QSettings old(earlier, QSettings::IniFormat);
            old.setValue("alerts/address", address);
            old.setValue("alerts/method", method);
            old.setValue("alerts/notifyEachDelivery", false);
        }
        const QString path = home.filePath("tollwick/tollwick.conf");
        {
            Start start(keys, path, earlier);
            clock.advance(0);
            QCOMPARE(start.settings.channel().address, address);
            QTEST(int(start.settings.channel().kind), "kind");
            QTEST(start.settings.channel().body, "body");
            QVERIFY(!start.settings.notifyEachDelivery());
        }
        QVERIFY(!QFile::exists(earlier));
        QCOMPARE(permissionsOf(path), OwnerOnly);
        const QSettings file(path, QSettings::IniFormat);
        QVERIFY(!file.contains("alerts/method"));
        QVERIFY(!file.contains("alerts/address"));
        QCOMPARE(keys.secrets.value("alerts/address"), address);
        Start again(keys, path, earlier);
        clock.advance(0);
        QTEST(int(again.settings.channel().kind), "kind");
    }
};

TOLLWICK_TEST(SettingsFileTest)
#include "SettingsFileTest.moc"
