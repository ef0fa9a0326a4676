#pragma once

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

// Charsets are named by labels the way web pages and servers name them;
// these resolve a label as browsers' encoding registry does (case does not
// matter, "gb2312" means GBK). Invalid converters for labels that name no
// charset we know.
QStringDecoder decoderForCharset(const QString& label);
QStringEncoder encoderForCharset(const QString& label);
