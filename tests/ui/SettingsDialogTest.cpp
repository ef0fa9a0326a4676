// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/SettingsDialog.h"
#include "alerts/AlertPolicy.h"
#include "alerts/AlertServices.h"
#include "alerts/AlertSettings.h"
#include "alerts/RemoteAlerts.h"
#include "fakes/FakeWatch.h"
#include "journal/DeliveryJournal.h"
#include "settings/RememberedSettings.h"
#include "settings/SecretStore.h"
#include "support/TestRegistry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

// The alert choice reads "不发送" while no address is set, and a saved
// address keeps its kind.
class SettingsDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void alertChoiceShowsWhatIsSet_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("addressAsked");
        QTest::newRow("none set") << "" << QStringLiteral("不发送") << false;
        QTest::newRow("a custom POST set")
            << "https://example.invalid/alert"
            << QString::fromUtf8(serviceOf(AlertChannel::Kind::CustomPost).title) << true;
    }

    void alertChoiceShowsWhatIsSet()
    {
        QFETCH(QString, address);
        FakeWatch w;
        QTemporaryDir folder;
        DeliveryJournal journal(folder.filePath("journal.db"), w.fake.clock);
        AlertPolicy policy(w.watch, journal);
        AlertSettings alerts;
        AlertChannel channel;
        channel.kind = AlertChannel::Kind::CustomPost;
        channel.address = address;
        alerts.setChannel(channel);
        RemoteAlerts remote(policy, alerts, w.fake.platform(), "pc", std::chrono::seconds(30));
        SecretStore secrets(w.fake.keyring, {});
        RememberedSettings remembered(w.state, secrets, {});
        SettingsDialog dialog(alerts, remote, remembered, secrets);
        dialog.show();
        auto* kind = dialog.findChild<QComboBox*>("kind");
        QTEST(kind->currentText(), "shown");
        QTEST(dialog.findChild<QLineEdit*>("address")->isVisible(), "addressAsked");

        // Choosing nothing and saying yes clears the address.
        kind->setCurrentIndex(0);
        dialog.accept();
        QVERIFY(!alerts.channel().isSet());
    }
};

TOLLWICK_TEST(SettingsDialogTest)
#include "SettingsDialogTest.moc"
