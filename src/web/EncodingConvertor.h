#pragma once

#include <QByteArray>
#include <QString>

class ByteStreamFactory;

// The whole body read as text in the named charset, or the empty text when
// any step of the conversion fails (an unknown charset name, for one).
QString EncodingConvertor(ByteStreamFactory& streams, const QByteArray& body,
                          const QString& charset);
