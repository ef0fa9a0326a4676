#include "scan/NotificationAddress.h"

#include "platform/CharsetRegistry.h"

#include <QStringEncoder>

namespace {

QString encoded(const QString& value, QStringEncoder& encoder)
{
    const QByteArray bytes = encoder.encode(value);
    return QString::fromLatin1(bytes.toPercentEncoding());
}

// A line break or tab pasted into the address box is not part of the
// address, as browsers drop them from a typed address; spaces stay.
QString withoutTabsAndLineBreaks(QString url)
{
    url.removeIf([](QChar c) { return c == u'\t' || c == u'\r' || c == u'\n'; });
    return url;
}

} // namespace

QString notificationAddress(const QString& deliveryUrl, const QString& key,
                            const TradeRecord& record, const QString& shopCharset)
{
    QStringEncoder encoder = encoderForCharset(shopCharset);
    // A charset we cannot name still gets a readable query.
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringEncoder::Utf8);

    return withoutTabsAndLineBreaks(deliveryUrl) + QStringLiteral("?act=") + encoded(key, encoder) +
           QStringLiteral("&jine=") + encoded(record.Amount, encoder) +
           QStringLiteral("&tradeno=") + encoded(record.TradeNo, encoder) +
           QStringLiteral("&title=") + encoded(record.Title, encoder);
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
    return address.left(valueStart) + QStringLiteral("***") + address.mid(valueEnd);
}
