#include "ui/AlertSettingsDialog.h"

#include "alerts/AlertSettings.h"
#include "alerts/RemoteAlerts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

AlertSettingsDialog::AlertSettingsDialog(AlertSettings& settings, RemoteAlerts& remote,
                                         QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_remote(remote)
    , m_address(new QLineEdit(settings.address(), this))
    , m_method(new QComboBox(this))
    , m_testResult(new QLabel(this))
{
    setWindowTitle(QStringLiteral("提醒设置"));
    m_address->setObjectName(QStringLiteral("address"));
    m_method->setObjectName(QStringLiteral("method"));
    m_testResult->setObjectName(QStringLiteral("testResult"));
    m_address->setPlaceholderText(QStringLiteral("https://…/send?text={text}"));
    m_address->setMinimumWidth(360);
    m_method->addItem(QStringLiteral("GET（网址中的 {text} 换成提醒内容）"));
    m_method->addItem(QStringLiteral("POST JSON（cause、text、time）"));
    m_method->setCurrentIndex(settings.method() == AlertSettings::Method::PostJson ? 1 : 0);

    auto* test = new QPushButton(QStringLiteral("发送测试"), this);
    test->setObjectName(QStringLiteral("sendTest"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(QStringLiteral("提醒除了显示在本机桌面上，还可以发送到手机："
                                           "填写推送服务或群机器人的网址，不填则不发送。"),
                            this));
    form->addRow(QStringLiteral("提醒网址："), m_address);
    form->addRow(QStringLiteral("发送方式："), m_method);
    form->addRow(test, m_testResult);
    form->addRow(buttons);

    connect(test, &QPushButton::clicked, this, &AlertSettingsDialog::sendTest);
    connect(buttons, &QDialogButtonBox::accepted, this, &AlertSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AlertSettingsDialog::reject);
}

void AlertSettingsDialog::sendTest()
{
    m_testResult->setText(QStringLiteral("正在发送……"));
    // The answer may come after the dialog has closed.
    QPointer<QLabel> result = m_testResult;
    m_remote.sendTest(m_address->text().trimmed(), chosenMethod(), [result](int status) {
        if (!result)
            return;
        result->setText(status == 0 ? QStringLiteral("发送失败：没有回复")
                                    : QStringLiteral("回复状态：%1").arg(status));
    });
}

AlertSettings::Method AlertSettingsDialog::chosenMethod() const
{
    return m_method->currentIndex() == 1 ? AlertSettings::Method::PostJson
                                         : AlertSettings::Method::Get;
}

void AlertSettingsDialog::accept()
{
    m_settings.setAddress(m_address->text());
    m_settings.setMethod(chosenMethod());
    QDialog::accept();
}
