// SPDX-License-Identifier: GPL-3.0-or-later

#include "InProcessSandbox.h"

#include "app/Program.h"
#include "support/TestRegistry.h"
#include "ui/HistoryWindow.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QTest>

namespace {

// Opens the dialog a row names, as the owner would with F4 or the journal's
// export button.
QDialog* openDialog(Program& program, const QString& which)
{
    if (which == u"settings") {
        program.showSettings();
    } else {
        program.showHistory();
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* widget : windows) {
            if (auto* history = qobject_cast<HistoryWindow*>(widget))
                history->chooseExportFile();
        }
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace

// A dialog the owner opens in the pause between a payment's two calls must
// not hold up the second call: dialogs run no event loop of their own.
class DialogsDuringScanTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondCallComesOnTimeBehindADialog_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("alert settings") << "settings";
        QTest::newRow("CSV export") << "export";
    }

    void secondCallComesOnTimeBehindADialog()
    {
        QFETCH(QString, dialog);
        SandboxOptions options;
        options.payments = {{QStringLiteral("Order 1"), QStringLiteral("1.00")}};
        options.interval = QStringLiteral("3600");
        InProcessSandbox sandbox(options);
        const QString error = sandbox.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(sandbox.waitUntilScanning());

        int calls = 0;
        QDialog* opened = nullptr;
        bool openAtSecondCall = false;
        connect(&sandbox.shop(), &SimulatedShop::notified, this, [&] {
            if (++calls == 1) {
                QTimer::singleShot(
                    200, this, [&] { opened = openDialog(sandbox.sandbox().program(), dialog); });
            } else {
                openAtSecondCall = opened && opened->isVisible();
            }
        });
        Q_EMIT sandbox.watch().Timer1->Timer();

        // Nobody closes the dialog.
        QTRY_COMPARE_WITH_TIMEOUT(calls, 2, InProcessSandbox::Timeout);
        QVERIFY(openAtSecondCall);
        QTRY_VERIFY(!sandbox.watch().scanCycle().running());
        QCOMPARE(sandbox.resultLines().size(), 1);
        QVERIFY(sandbox.resultLines().constFirst().endsWith(QStringLiteral("发送成功")));
        opened->reject();
    }
};

TOLLWICK_TEST(DialogsDuringScanTest)
#include "DialogsDuringScanTest.moc"
