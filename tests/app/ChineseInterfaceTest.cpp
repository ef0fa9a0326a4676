#include "app/ChineseInterface.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// The desktop speaks English here; Qt's own texts must be Chinese all the same.
class ChineseInterfaceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { speakChinese(*QCoreApplication::instance()); }

    void standardButtonsAndFileDialogsSpeakChinese()
    {
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));

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
