// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

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
