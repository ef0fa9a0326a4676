// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

#include <optional>

// Where alert messages go: a kind of service and what its owner gave for it.
struct AlertChannel {
    enum class Kind {
        WeCom,
        DingTalk,
        Feishu,
        Discord,
        Slack,
        ServerChan,
        PushPlus,
        Bark,
        Ntfy,
        Gotify,
        Telegram,
        CustomGet,
        CustomPost,
    };
    enum class ContentType { Json, Form };

    Kind kind = Kind::CustomGet;
    // The address as the service gives it, its key or token within it (see
    // ChannelAddress); for the custom kinds a template of the address.
    QString address;
    // DingTalk's 加签 or Feishu's 签名校验 secret; empty when the bot has none.
    QString secret;
    // The custom POST's body template and how it is encoded.
    QString body;
    ContentType contentType = ContentType::Json;

    bool isSet() const { return !address.trimmed().isEmpty(); }

    friend bool operator==(const AlertChannel&, const AlertChannel&) = default;
};

// Every kind, in the order the settings dialog offers them.
QList<AlertChannel::Kind> allChannelKinds();
// The kind's name in the settings file, the journal and the sandbox's options.
QString channelKindName(AlertChannel::Kind kind);
std::optional<AlertChannel::Kind> channelKindNamed(const QString& name);
// The kind in the owner's words.
QString channelKindTitle(AlertChannel::Kind kind);

// The custom POST's body before the owner writes one: the JSON the alert
// address has always received.
extern const QString DefaultPostBody;
