// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/ReadableTitle.h"

#include "alerts/AlertMessage.h"

#include <QRegularExpression>

namespace {

constexpr qsizetype MaxLength = 64;

// The references a page writes for text: numeric ones and the names of the
// characters HTML must escape, with the no-break space.
QString decodedReferences(const QString& text)
{
    static const QRegularExpression reference(
        QStringLiteral("&(?:#(\\d{1,7})|#[xX]([0-9a-fA-F]{1,6})|(amp|lt|gt|quot|apos|nbsp));"));
    QString decoded;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : reference.globalMatch(text)) {
        decoded += QStringView(text).mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        char32_t code = 0;
        if (match.hasCaptured(1))
            code = match.captured(1).toUInt();
        else if (match.hasCaptured(2))
            code = match.captured(2).toUInt(nullptr, 16);
        else
            code = QHash<QString, char32_t>{{"amp", U'&'},  {"lt", U'<'},    {"gt", U'>'},
                                            {"quot", U'"'}, {"apos", U'\''}, {"nbsp", 0xA0}}
                       .value(match.captured(3));
        if (code > 0 && code <= 0x10FFFF && !QChar::isSurrogate(code))
            decoded += QString::fromUcs4(&code, 1);
    }
    return decoded + text.mid(from);
}

bool isHidden(char32_t code)
{
    const bool bidi = (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069) ||
                      code == 0x200E || code == 0x200F || code == 0x061C;
    return bidi || QChar::category(code) == QChar::Other_Control;
}

} // namespace

QString readableTitle(const QString& pageTitle)
{
    QString shown;
    for (const char32_t code : decodedReferences(pageTitle).toUcs4()) {
        if (!isHidden(code))
            shown += QString::fromUcs4(&code, 1);
    }
    return cutToLength(shown, MaxLength);
}
