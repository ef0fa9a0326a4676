#pragma once

#include "platform/ByteStream.h"

#include <QByteArray>
#include <QStringDecoder>

#include <optional>

// An in-memory byte stream that decodes its contents as text. It holds its
// callers to the order of the calls: bytes are written into an open binary
// stream, which is then switched to text at its start and given a charset
// before it is read as text.
class QtByteStream : public ByteStream {
public:
    bool setType(int type) override;
    bool setMode(int mode) override;
    bool Open() override;
    bool Write(const QByteArray& bytes) override;
    bool setPosition(qint64 position) override;
    bool setCharset(const QString& charset) override;
    std::optional<QString> ReadText() override;
    bool Close() override;

private:
    int m_type = BinaryType;
    bool m_open = false;
    QByteArray m_bytes;
    qint64 m_position = 0;
    std::optional<QStringDecoder> m_decoder;
};
