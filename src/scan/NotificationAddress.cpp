// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/NotificationAddress.h"

#include "platform/CharsetRegistry.h"

#include <QStringEncoder>
#include <QStringList>

namespace {

const QString Mask = QStringLiteral("***");

QStringEncoder shopEncoder(const QString& shopCharset)
{
    QStringEncoder encoder = encoderForCharset(shopCharset);
    // A charset we cannot name still gets a readable query.
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringEncoder::Utf8);
    return encoder;
}

QString encoded(const QString& value, QStringEncoder& encoder)
{
    const QByteArray bytes = encoder.encode(value);
    return QString::fromLatin1(bytes.toPercentEncoding());
}

} // namespace

QString notificationAddress(const QString& deliveryUrl, const QString& key,
                            const TradeRecord& record, const QString& shopCharset)
{
    // A line break or tab pasted into the address box is not part of the
    // address, as browsers drop them from a typed address; spaces stay.
    QString url = deliveryUrl;
    url.removeIf([](QChar c) { return c == u'\t' || c == u'\r' || c == u'\n'; });
    QStringEncoder encoder = shopEncoder(shopCharset);
    return url + QStringLiteral("?act=") + encoded(key, encoder) + QStringLiteral("&jine=") +
           encoded(record.Amount, encoder) + QStringLiteral("&tradeno=") +
           encoded(record.TradeNo, encoder) + QStringLiteral("&title=") +
           encoded(record.Title, encoder);
}

QString withoutKey(const QString& address)
{
    // The key is percent-encoded, so it holds no '&', and "?act=" cannot
    // occur in the values after it.
    const QString marker = QStringLiteral("?act=");
    const qsizetype start = address.lastIndexOf(marker);
    if (start < 0)
        return address;
    const qsizetype valueStart = start + marker.size();
    qsizetype valueEnd = address.indexOf(u'&', valueStart);
    if (valueEnd < 0)
        valueEnd = address.size();
    return address.left(valueStart) + Mask + address.mid(valueEnd);
}

QString withoutEchoedKey(QString text, const QString& key, const QString& shopCharset)
{
    if (key.isEmpty())
        return text;
    // PHP's htmlspecialchars also writes the apostrophe.
    const QString escaped = key.toHtmlEscaped();
    QStringList forms{key, escaped, QString(escaped).replace(u'\'', QStringLiteral("&#039;"))};
    QStringEncoder utf8(QStringEncoder::Utf8);
    QStringEncoder shop = shopEncoder(shopCharset);
    for (QStringEncoder* encoder : {&shop, &utf8}) {
        const QString percent = encoded(key, *encoder);
        forms << percent << QString(percent).replace(QStringLiteral("%20"), QStringLiteral("+"));
    }
    for (const QString& form : std::as_const(forms))
        text.replace(form, Mask);
    return text;
}
