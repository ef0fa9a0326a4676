#include "alerts/Alert.h"

QString Alert::causeName() const
{
    switch (cause) {
    case Cause::SessionLost:
        return QStringLiteral("sessionLost");
    case Cause::IntervalInvalid:
        return QStringLiteral("intervalInvalid");
    case Cause::PaymentRejected:
        return QStringLiteral("paymentRejected");
    case Cause::RecordPageUnreadable:
        return QStringLiteral("recordPageUnreadable");
    case Cause::JournalFailed:
        return QStringLiteral("journalFailed");
    }
    Q_UNREACHABLE();
}

QString Alert::clearedText() const
{
    return QStringLiteral("已恢复：") + text;
}
