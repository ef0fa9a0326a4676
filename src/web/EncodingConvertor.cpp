// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/EncodingConvertor.h"

#include "platform/CharsetRegistry.h"

#include <QStringDecoder>

QString EncodingConvertor(const QByteArray& body, const QString& charset)
{
    QStringDecoder decoder = decoderForCharset(charset);
    if (!decoder.isValid())
        return {};
    return decoder.decode(body);
}
