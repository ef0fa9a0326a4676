// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/CharsetRegistry.h"

#include "platform/CharsetLabels.h"

#include <algorithm>
#include <iterator>

namespace {

struct Converter {
    const char* encoding;
    const char* icuName;
};

// The ICU converter that reads each encoding as browsers do. An encoding not
// listed is refused: "replacement" and "x-user-defined" exist only in browsers,
// and Debian's ICU has no ISO-8859-16.
const Converter converters[] = {
    // Qt answers these three names itself, before ICU; its converters drop a
    // leading byte order mark as browsers do.
    {"utf-8", "UTF-8"},
    {"utf-16be", "UTF-16BE"},
    {"utf-16le", "UTF-16LE"},
    {"ibm866", "IBM866"},
    {"iso-8859-2", "ISO-8859-2"},
    {"iso-8859-3", "ISO-8859-3"},
    {"iso-8859-4", "ISO-8859-4"},
    {"iso-8859-5", "ISO-8859-5"},
    {"iso-8859-6", "ISO-8859-6"},
    {"iso-8859-7", "ISO-8859-7"},
    {"iso-8859-8", "ISO-8859-8"},
    // The same bytes; the "i" only tells a renderer that the text is in logical order.
    {"iso-8859-8-i", "ISO-8859-8"},
    {"iso-8859-10", "ISO-8859-10"},
    {"iso-8859-13", "ISO-8859-13"},
    {"iso-8859-14", "ISO-8859-14"},
    {"iso-8859-15", "ISO-8859-15"},
    {"koi8-r", "KOI8-R"},
    {"koi8-u", "KOI8-U"},
    {"macintosh", "macintosh"},
    {"windows-874", "windows-874"},
    {"windows-1250", "windows-1250"},
    {"windows-1251", "windows-1251"},
    // Also for the "latin1" and "ascii" labels, so not Qt's own ISO-8859-1:
    // browsers read 0x80 as € on those pages too.
    {"windows-1252", "windows-1252"},
    {"windows-1253", "windows-1253"},
    {"windows-1254", "windows-1254"},
    {"windows-1255", "windows-1255"},
    {"windows-1256", "windows-1256"},
    {"windows-1257", "windows-1257"},
    {"windows-1258", "windows-1258"},
    {"x-mac-cyrillic", "x-mac-cyrillic"},
    // ICU's "gb2312" is strict GB 2312 and silently drops every GBK-only character.
    {"gbk", "GBK"},
    {"gb18030", "GB18030"},
    // Browsers' Big5 includes the Hong Kong supplement. ICU gives the alias
    // "Big5-HKSCS" to two converters; this one decodes more of it as browsers do.
    {"big5", "ibm-1375_P100-2008"},
    {"euc-jp", "EUC-JP"},
    {"iso-2022-jp", "ISO-2022-JP"},
    // Microsoft's Shift_JIS, which browsers read: 0x5C is a backslash, not ¥.
    {"shift_jis", "windows-31j"},
    // Browsers' euc-kr is Microsoft's extension with every Hangul syllable;
    // ICU's "EUC-KR" lacks it, and its alias "windows-949" names two converters.
    {"euc-kr", "windows-949-2000"},
};

// Null when the encoding is refused.
const char* icuNameFor(const QString& encoding)
{
    const auto found = std::ranges::find_if(
        converters, [&](const Converter& c) { return encoding == QLatin1String(c.encoding); });
    return found == std::end(converters) ? nullptr : found->icuName;
}

} // namespace

QStringDecoder decoderForCharset(const QString& label)
{
    const char* name = icuNameFor(encodingForLabel(label));
    return name ? QStringDecoder(name) : QStringDecoder();
}

QStringEncoder encoderForCharset(const QString& label)
{
    const QString encoding = encodingForLabel(label);
    // A page in UTF-16, whose bytes would be unusable in a URL, or in
    // "replacement", which has no encoder, sends its queries in UTF-8.
    if (encoding == u"utf-16be" || encoding == u"utf-16le" || encoding == u"replacement")
        return QStringEncoder(QStringEncoder::Utf8);
    const char* name = icuNameFor(encoding);
    return name ? QStringEncoder(name) : QStringEncoder();
}
