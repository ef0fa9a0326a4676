#include "platform/CharsetRegistry.h"

#include <QSet>

#include <algorithm>

namespace {

// Pages labelled with any of these are really GBK, as browsers assume. ICU's
// own "gb2312" converter is strict GB 2312 and silently drops every GBK-only
// character, so these labels must not reach it.
const QSet<QString> gbkLabels{
    "chinese", "csgb2312",  "csiso58gb231280", "gb2312", "gb_2312",     "gb_2312-80",
    "gbk",     "iso-ir-58", "x-gbk",           "cp936",  "windows-936",
};

const QSet<QString> utf8Labels{
    "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "utf-8", "utf8", "x-unicode20utf8",
};

// ICU ignores blanks when it matches a converter name, so " gb2312" would
// otherwise resolve although no browser accepts it.
bool isPlainAsciiName(const QString& label)
{
    return !label.isEmpty() && std::all_of(label.cbegin(), label.cend(), [](QChar c) {
        return c.unicode() > 0x20 && c.unicode() < 0x7f;
    });
}

// The name of the converter for `label`; empty when there is none to try.
QByteArray converterName(const QString& label)
{
    if (!isPlainAsciiName(label))
        return {};
    const QString key = label.toLower();
    if (gbkLabels.contains(key))
        return "GBK";
    if (utf8Labels.contains(key))
        return "UTF-8";
    return label.toLatin1();
}

} // namespace

QStringDecoder decoderForCharset(const QString& label)
{
    const QByteArray name = converterName(label);
    return name.isEmpty() ? QStringDecoder() : QStringDecoder(name.constData());
}

QStringEncoder encoderForCharset(const QString& label)
{
    const QByteArray name = converterName(label);
    return name.isEmpty() ? QStringEncoder() : QStringEncoder(name.constData());
}
