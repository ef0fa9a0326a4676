#include "platform/qt/QtByteStream.h"

#include "platform/CharsetRegistry.h"

#include <algorithm>

bool QtByteStream::setType(int type)
{
    if (m_position != 0 || (type != BinaryType && type != TextType))
        return false;
    m_type = type;
    return true;
}

bool QtByteStream::setMode(int mode)
{
    return !m_open && mode == ReadWriteMode;
}

bool QtByteStream::Open()
{
    if (m_open)
        return false;
    m_open = true;
    return true;
}

bool QtByteStream::Write(const QByteArray& bytes)
{
    if (!m_open || m_type != BinaryType)
        return false;
    const qint64 overwritten = std::min<qint64>(bytes.size(), m_bytes.size() - m_position);
    m_bytes.replace(m_position, overwritten, bytes);
    m_position += bytes.size();
    return true;
}

bool QtByteStream::setPosition(qint64 position)
{
    if (!m_open || position < 0 || position > m_bytes.size())
        return false;
    m_position = position;
    return true;
}

bool QtByteStream::setCharset(const QString& charset)
{
    if (m_type != TextType)
        return false;
    QStringDecoder decoder = decoderForCharset(charset);
    if (!decoder.isValid())
        return false;
    m_decoder.emplace(std::move(decoder));
    return true;
}

std::optional<QString> QtByteStream::ReadText()
{
    if (!m_open || m_type != TextType || !m_decoder)
        return std::nullopt;
    m_decoder->resetState();
    QString text = m_decoder->decode(QByteArrayView(m_bytes).sliced(m_position));
    m_position = m_bytes.size();
    return text;
}

bool QtByteStream::Close()
{
    if (!m_open)
        return false;
    m_open = false;
    m_bytes.clear();
    m_position = 0;
    return true;
}
