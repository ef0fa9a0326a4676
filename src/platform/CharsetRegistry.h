// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

// Charsets are named by labels the way web pages and servers name them; these
// resolve a label as browsers do (see encodingForLabel: "gb2312" means GBK) and
// give the converter for its encoding. Invalid converters for labels that name
// no encoding, or one we cannot convert.
QStringDecoder decoderForCharset(const QString& label);
// For the text of a query, which browsers send in UTF-8 for a page in UTF-16.
QStringEncoder encoderForCharset(const QString& label);
