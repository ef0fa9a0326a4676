// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/BotSignature.h"

#include <QMessageAuthenticationCode>

QByteArray dingTalkSign(const QString& secret, qint64 timestampMs)
{
    const QByteArray key = secret.toUtf8();
    return QMessageAuthenticationCode::hash(QByteArray::number(timestampMs) + '\n' + key, key,
                                            QCryptographicHash::Sha256)
        .toBase64();
}

QByteArray feishuSign(const QString& secret, qint64 timestampS)
{
    return QMessageAuthenticationCode::hash(QByteArray(),
                                            QByteArray::number(timestampS) + '\n' + secret.toUtf8(),
                                            QCryptographicHash::Sha256)
        .toBase64();
}
