// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/SettingsDialog.h"

#include "alerts/AlertServices.h"
#include "alerts/AlertSettings.h"
#include "alerts/ChannelAddress.h"
#include "alerts/RemoteAlerts.h"
#include "settings/RememberedSettings.h"
#include "settings/SecretStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimeEdit>

namespace {

using Kind = AlertChannel::Kind;
// A widget and a text of its: its object name, or the label of its row.
using Labelled = std::pair<QWidget*, const char*>;

// Where the secrets went, in the owner's words.
QString secretPlaceText(SecretStore::Place place)
{
    switch (place) {
    case SecretStore::Place::Keyring:
        return QStringLiteral("接口密钥、提醒网址和其中的 Token 保存在桌面的钥匙环里。");
    case SecretStore::Place::SettingsFile:
        return QStringLiteral("没有可用的钥匙环：接口密钥、提醒网址和其中的 Token 保存在"
                              "只有您能读的设置文件里。");
    case SecretStore::Place::Memory:
        return QStringLiteral("这些设置只用于这次运行。");
    case SecretStore::Place::NotYetKnown:
        return {};
    }
    Q_UNREACHABLE();
}

} // namespace

SettingsDialog::SettingsDialog(AlertSettings& settings, RemoteAlerts& remote,
                               RememberedSettings& remembered, const SecretStore& secrets,
                               QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_remote(remote)
    , m_remembered(remembered)
    , m_form(new QFormLayout(this))
    , m_kind(new QComboBox(this))
    , m_address(new QLineEdit(this))
    , m_server(new QLineEdit(this))
    , m_key(new QLineEdit(this))
    , m_chat(new QLineEdit(this))
    , m_secret(new QLineEdit(this))
    , m_body(new QPlainTextEdit(this))
    , m_contentType(new QComboBox(this))
    , m_note(new QLabel(this))
    , m_heartbeat(new QLineEdit(settings.heartbeatAddress(), this))
    , m_summary(new QCheckBox(QStringLiteral("每日汇总"), this))
    , m_summaryTime(new QTimeEdit(settings.dailySummary().value_or(QTime(21, 0)), this))
    , m_testResult(new QLabel(this))
    , m_remember(new QCheckBox(QStringLiteral("启动时恢复上次的设置"), this))
{
    setWindowTitle(QStringLiteral("设置"));
    for (const auto& [widget, name] :
         {Labelled{m_kind, "kind"}, Labelled{m_address, "address"}, Labelled{m_server, "server"},
          Labelled{m_key, "key"}, Labelled{m_chat, "chat"}, Labelled{m_secret, "secret"},
          Labelled{m_body, "body"}, Labelled{m_contentType, "contentType"},
          Labelled{m_heartbeat, "heartbeat"}, Labelled{m_summary, "summary"},
          Labelled{m_summaryTime, "summaryTime"}, Labelled{m_testResult, "testResult"},
          Labelled{m_remember, "remember"}})
        widget->setObjectName(QString::fromLatin1(name));
    // First, and chosen while no address is set.
    m_kind->addItem(QStringLiteral("不发送"));
    for (const AlertService& service : alertServices())
        m_kind->addItem(QString::fromUtf8(service.title), int(service.kind));
    m_contentType->addItems({QStringLiteral("JSON"), QStringLiteral("表单（form）")});
    m_address->setMinimumWidth(360);
    m_body->setMaximumHeight(80);
    m_note->setWordWrap(true);
    m_heartbeat->setPlaceholderText(QStringLiteral("https://您的网站/heartbeat.php（可不填）"));
    // Replies are shown as they came, never as markup.
    m_testResult->setTextFormat(Qt::PlainText);
    m_testResult->setWordWrap(true);

    const AlertChannel channel = settings.channel();
    m_kind->setCurrentIndex(channel.isSet() ? m_kind->findData(int(channel.kind)) : 0);
    if (hasAddressParts(channel.kind)) {
        const AddressParts parts = splitAddress(channel.kind, channel.address);
        m_server->setText(parts.server);
        m_key->setText(parts.key);
        m_chat->setText(parts.chat);
    } else {
        m_address->setText(channel.address);
    }
    m_secret->setText(channel.secret);
    m_body->setPlainText(channel.body.isEmpty() ? DefaultPostBody : channel.body);
    m_contentType->setCurrentIndex(channel.contentType == AlertChannel::ContentType::Form ? 1 : 0);

    auto* test = new QPushButton(QStringLiteral("发送测试"), this);
    test->setObjectName(QStringLiteral("sendTest"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_form->addRow(new QLabel(QStringLiteral("提醒除了显示在本机桌面上，还可以发送到手机："
                                             "选择您用的推送服务或群机器人，不填则不发送。"),
                              this));
    for (const auto& [field, label] :
         {Labelled{m_kind, "提醒方式："}, Labelled{m_address, "网址："},
          Labelled{m_server, "服务器："}, Labelled{m_key, "Key："}, Labelled{m_chat, "Chat ID："},
          Labelled{m_secret, "密钥："}, Labelled{m_body, "正文模板："},
          Labelled{m_contentType, "正文类型："}})
        m_form->addRow(QString::fromUtf8(label), field);
    m_form->addRow(m_note);
    m_form->addRow(QStringLiteral("心跳网址："), m_heartbeat);
    // The day's payments by state, sent to the alert address once a day.
    m_summary->setChecked(settings.dailySummary().has_value());
    m_summary->setToolTip(QStringLiteral("每天在这个时间把当天的收款、已送达、待送达和已放弃的笔数"
                                         "和金额发到提醒方式；Tollwick 那时没有运行的日子不发送"));
    m_summaryTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_summaryTime->setEnabled(m_summary->isChecked());
    m_form->addRow(m_summary, m_summaryTime);
    m_form->addRow(test, m_testResult);
    m_remember->setChecked(remembered.enabled());
    m_remember->setToolTip(QStringLiteral("发货网址、接口密钥、扫描间隔、记录条数和网站编码"));
    m_form->addRow(m_remember);
    auto* secretPlace = new QLabel(secretPlaceText(secrets.place()), this);
    secretPlace->setObjectName(QStringLiteral("secretPlace"));
    secretPlace->setWordWrap(true);
    m_form->addRow(secretPlace);
    m_form->addRow(buttons);
    showFieldsOf(chosenKind());

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { showFieldsOf(chosenKind()); });
    connect(test, &QPushButton::clicked, this, &SettingsDialog::sendTest);
    connect(m_summary, &QCheckBox::toggled, m_summaryTime, &QWidget::setEnabled);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
}

void SettingsDialog::showFieldsOf(std::optional<AlertChannel::Kind> chosen)
{
    static const AlertService Nothing{.kind = Kind::CustomGet, .name = "", .title = ""};
    const AlertService& service = chosen ? serviceOf(*chosen) : Nothing;
    for (const auto& [field, label] :
         {Labelled{m_address, service.dialog.address}, Labelled{m_server, service.dialog.server},
          Labelled{m_key, service.dialog.key}, Labelled{m_chat, service.dialog.chat},
          Labelled{m_secret, service.dialog.secret}, Labelled{m_body, service.dialog.body},
          Labelled{m_contentType, service.dialog.body ? "正文类型：" : nullptr}}) {
        m_form->setRowVisible(field, label != nullptr);
        if (label)
            qobject_cast<QLabel*>(m_form->labelForField(field))->setText(QString::fromUtf8(label));
    }
    m_address->setPlaceholderText(QString::fromUtf8(service.dialog.hint));
    m_server->setPlaceholderText(QString::fromLatin1(service.address.defaultServer));
    m_secret->setPlaceholderText(QStringLiteral("没有开启时不填"));
    m_note->setText(QString::fromUtf8(service.dialog.note));
}

std::optional<AlertChannel::Kind> SettingsDialog::chosenKind() const
{
    const QVariant kind = m_kind->currentData();
    return kind.isValid() ? std::optional(Kind(kind.toInt())) : std::nullopt;
}

AlertChannel SettingsDialog::chosenChannel() const
{
    AlertChannel channel;
    if (!chosenKind())
        return channel;
    const Kind kind = *chosenKind();
    channel.kind = kind;
    channel.address = hasAddressParts(kind)
                          ? composeAddress(kind, {m_server->text(), m_key->text(), m_chat->text()})
                          : m_address->text().trimmed();
    if (serviceOf(kind).dialog.secret)
        channel.secret = m_secret->text().trimmed();
    if (serviceOf(kind).dialog.body) {
        channel.body = m_body->toPlainText();
        channel.contentType = m_contentType->currentIndex() == 1 ? AlertChannel::ContentType::Form
                                                                 : AlertChannel::ContentType::Json;
    }
    return channel;
}

void SettingsDialog::sendTest()
{
    m_testResult->setText(QStringLiteral("正在发送……"));
    // The answer may come after the dialog has closed.
    QPointer<QLabel> result = m_testResult;
    m_remote.sendTest(chosenChannel(), [result](const QString& answer) {
        if (result)
            result->setText(answer);
    });
}

void SettingsDialog::accept()
{
    m_settings.setChannel(chosenChannel());
    m_settings.setHeartbeatAddress(m_heartbeat->text());
    m_settings.setDailySummary(m_summary->isChecked() ? std::optional(m_summaryTime->time())
                                                      : std::nullopt);
    m_remembered.setEnabled(m_remember->isChecked());
    QDialog::accept();
}
