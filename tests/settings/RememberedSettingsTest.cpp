// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/RememberedSettings.h"
#include "fakes/FakeWindow.h"
#include "settings/SecretStore.h"
#include "support/TestRegistry.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One start of the program with the window as the owner sees it; the
// keyring outlives it, as the desktop's does.
struct Start {
    Start(FakeKeyring& keyring, const QString& path)
        : secrets(keyring, path)
        , remembered(window.state, secrets, path)
    {
        remembered.restore();
    }
    FakeWindow window;
    SecretStore secrets;
    RememberedSettings remembered;
};

} // namespace

class RememberedSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Off, every start shows the defaults; on, the owner's values come back,
    // the key from the keyring, never from the file, where one answers.
    void settingsComeBackOnlyWhenAskedFor_data()
    {
        QTest::addColumn<bool>("remember");
        QTest::addColumn<bool>("keyring");
        QTest::newRow("off") << false << true;
        QTest::newRow("on, a keyring answers") << true << true;
        QTest::newRow("on, no keyring") << true << false;
    }

    void settingsComeBackOnlyWhenAskedFor()
    {
        QFETCH(bool, remember);
        QFETCH(bool, keyring);
        QTemporaryDir home;
        const QString path = home.filePath("tollwick.conf");
        FakeClock desktop;
        FakeKeyring keys(desktop);
        keys.available = keyring;
        const QString key = QStringLiteral("Zq7-strong-key-of-mine");
        {
            Start first(keys, path);
            first.remembered.setEnabled(remember);
            first.window.window.Text4->setText(key);
            first.window.window.Combo1->setEditText(QStringLiteral("45"));
            first.window.state.setDeliveryUrl(QStringLiteral("https://shop.invalid/notify.php"));
            desktop.advance(0);
        }

        Start next(keys, path);
        QCOMPARE(next.window.state.keyPending(), remember);
        desktop.advance(0);
        const Form1& window = next.window.window;
        QCOMPARE(window.Text4->text(), remember ? key : QStringLiteral("dembro"));
        QCOMPARE(window.Combo1->currentText(),
                 remember ? QStringLiteral("45") : QStringLiteral("20"));
        QCOMPARE(window.Text3->toPlainText(),
                 remember ? QStringLiteral("https://shop.invalid/notify.php")
                          : QStringLiteral("http://localhost/notify.php"));
        QCOMPARE(next.remembered.enabled(), remember);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QCOMPARE(file.readAll().contains(key.toUtf8()), remember && !keyring);
        QCOMPARE(keys.secrets.contains("window/interfaceKey"), remember && keyring);

        // Turned off, nothing is kept any more.
        next.remembered.setEnabled(false);
        desktop.advance(0);
        QVERIFY(keys.secrets.isEmpty());
    }

    // Until the keyring has answered, the box shows the default key: a scan
    // would send it, so none runs.
    void nothingIsDeliveredBeforeTheKeyComes()
    {
        QTemporaryDir home;
        const QString path = home.filePath("tollwick.conf");
        FakeClock desktop;
        FakeKeyring keys(desktop);
        {
            Start first(keys, path);
            first.remembered.setEnabled(true);
            first.window.state.setInterfaceKey(QStringLiteral("mine"));
            desktop.advance(0);
        }
        Start next(keys, path);
        next.window.logIn();
        Q_EMIT next.window.watch.Timer1->Timer();
        QVERIFY(next.window.fake.http.sent.isEmpty());
        desktop.advance(0);
        Q_EMIT next.window.watch.Timer1->Timer();
        QCOMPARE(next.window.fake.http.sent.size(), 1);
        QCOMPARE(next.window.state.interfaceKey(), QStringLiteral("mine"));
    }
};

TOLLWICK_TEST(RememberedSettingsTest)
#include "RememberedSettingsTest.moc"
