// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The whole body read as text in the named charset, or the empty text when
// the charset names no encoding we can decode.
QString EncodingConvertor(const QByteArray& body, const QString& charset);
