// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The signatures of the group bots that are set to check one, computed anew
// for every message since each is valid for an hour only. Both are Base64 of
// an HMAC-SHA256 over the timestamp and the secret, but not the same one.

// DingTalk's 加签: the key is the secret and the message is
// timestamp + "\n" + secret, the timestamp in milliseconds
// (https://open.dingtalk.com/document/robots/customize-robot-security-settings).
QByteArray dingTalkSign(const QString& secret, qint64 timestampMs);

// Feishu's 签名校验: the key is timestamp + "\n" + secret and the message is
// empty, the timestamp in seconds
// (https://open.feishu.cn/document/client-docs/bot-v3/add-custom-bot).
QByteArray feishuSign(const QString& secret, qint64 timestampS);
