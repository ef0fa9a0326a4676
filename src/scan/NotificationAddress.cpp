#include "scan/NotificationAddress.h"

#include "platform/CharsetRegistry.h"

#include <QStringEncoder>

namespace {

QString encoded(const QString& value, QStringEncoder& encoder)
{
    const QByteArray bytes = encoder.encode(value);
    return QString::fromLatin1(bytes.toPercentEncoding());
}

} // namespace

QString notificationAddress(const QString& deliveryUrl, const QString& key,
                            const TradeRecord& record, const QString& shopCharset)
{
    QStringEncoder encoder = encoderForCharset(shopCharset);
    // A charset we cannot name still gets a readable query.
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringEncoder::Utf8);

    return deliveryUrl + QStringLiteral("?act=") + encoded(key, encoder) +
           QStringLiteral("&jine=") + encoded(record.Amount, encoder) +
           QStringLiteral("&tradeno=") + encoded(record.TradeNo, encoder) +
           QStringLiteral("&title=") + encoded(record.Title, encoder);
}
