// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/CharsetRegistry.h"

#include "platform/CharsetLabels.h"

#include <QByteArrayList>

#include <algorithm>
#include <iterator>

namespace {

// The encodings ICU reads as browsers do under their own names, whose case
// neither Qt nor ICU minds. An encoding in neither list is refused:
// "replacement" and "x-user-defined" exist only in browsers, and Debian's ICU
// has no ISO-8859-16.
// - Qt answers the three UTF names itself, before ICU; its converters drop a
//   leading byte order mark as browsers do.
// - windows-1252 serves the "latin1" and "ascii" labels as well, so not Qt's
//   own ISO-8859-1: browsers read 0x80 as € on those pages too.
// - gbk, since ICU's "gb2312" is strict GB 2312 and silently drops every
//   GBK-only character.
constexpr char OwnNames[] =
    "utf-8 utf-16be utf-16le ibm866 iso-8859-2 iso-8859-3 iso-8859-4 iso-8859-5 iso-8859-6 "
    "iso-8859-7 iso-8859-8 iso-8859-10 iso-8859-13 iso-8859-14 iso-8859-15 koi8-r koi8-u "
    "macintosh windows-874 windows-1250 windows-1251 windows-1252 windows-1253 windows-1254 "
    "windows-1255 windows-1256 windows-1257 windows-1258 x-mac-cyrillic gbk gb18030 euc-jp "
    "iso-2022-jp";

struct Converter {
    const char* encoding;
    const char* icuName;
};

// The encodings whose ICU converter has another name.
const Converter converters[] = {
    // The same bytes; the "i" only tells a renderer that the text is in logical order.
    {"iso-8859-8-i", "ISO-8859-8"},
    // Browsers' Big5 includes the Hong Kong supplement. ICU gives the alias
    // "Big5-HKSCS" to two converters; this one decodes more of it as browsers do.
    {"big5", "ibm-1375_P100-2008"},
    // Microsoft's Shift_JIS, which browsers read: 0x5C is a backslash, not ¥.
    {"shift_jis", "windows-31j"},
    // Browsers' euc-kr is Microsoft's extension with every Hangul syllable;
    // ICU's "EUC-KR" lacks it, and its alias "windows-949" names two converters.
    {"euc-kr", "windows-949-2000"},
};

// Empty when the encoding is refused.
QByteArray icuNameFor(const QString& encoding)
{
    static const QByteArrayList ownNames = QByteArray(OwnNames).split(' ');
    const QByteArray name = encoding.toLatin1();
    if (ownNames.contains(name))
        return name;
    const auto found =
        std::ranges::find_if(converters, [&](const Converter& c) { return name == c.encoding; });
    return found == std::end(converters) ? QByteArray() : QByteArray(found->icuName);
}

} // namespace

QStringDecoder decoderForCharset(const QString& label)
{
    const QByteArray name = icuNameFor(encodingForLabel(label));
    return name.isEmpty() ? QStringDecoder() : QStringDecoder(name.constData());
}

QStringEncoder encoderForCharset(const QString& label)
{
    const QString encoding = encodingForLabel(label);
    // A page in UTF-16, whose bytes would be unusable in a URL, or in
    // "replacement", which has no encoder, sends its queries in UTF-8.
    if (encoding == u"utf-16be" || encoding == u"utf-16le" || encoding == u"replacement")
        return QStringEncoder(QStringEncoder::Utf8);
    const QByteArray name = icuNameFor(encoding);
    return name.isEmpty() ? QStringEncoder() : QStringEncoder(name.constData());
}
