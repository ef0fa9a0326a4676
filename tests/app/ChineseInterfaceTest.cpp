// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ChineseInterface.h"
#include "alerts/AlertPolicy.h"
#include "alerts/AlertSettings.h"
#include "alerts/RemoteAlerts.h"
#include "fakes/FakeWatch.h"
#include "journal/DeliveryJournal.h"
#include "settings/RememberedSettings.h"
#include "settings/SecretStore.h"
#include "ui/SettingsDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The desktop speaks English here; Qt's own texts must be Chinese all the same.
class ChineseInterfaceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { speakChinese(*QCoreApplication::instance()); }

    void standardButtonsAndFileDialogsSpeakChinese()
    {
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        FakeWatch w;
        QTemporaryDir folder;
        DeliveryJournal journal(folder.filePath("journal.db"), w.fake.clock);
        AlertPolicy policy(w.watch, journal);
        AlertSettings alerts;
        RemoteAlerts remote(policy, alerts, w.fake.platform(), "pc", std::chrono::seconds(30));
        SecretStore secrets(w.fake.keyring, {});
        RememberedSettings remembered(w.state, secrets, {});
        SettingsDialog settings(alerts, remote, remembered, secrets);
        const auto* buttons = settings.findChild<QDialogButtonBox*>();
        QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));

        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            const QString text = dialog.findChild<QLabel*>(label)->text();
            QVERIFY2(text.front().script() == QChar::Script_Han, qPrintable(text));
        }
        const auto* box = dialog.findChild<QDialogButtonBox*>("buttonBox");
        QCOMPARE(box->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
        QVERIFY(box->buttons().constFirst()->text().contains(QStringLiteral("保存")));
    }
};

int main(int argc, char* argv[])
{
    qputenv("LANG", "en_US.UTF-8");
    qputenv("LANGUAGE", "en_US");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ChineseInterfaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ChineseInterfaceTest.moc"
