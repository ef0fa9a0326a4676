#include "fakes/FakeByteStream.h"

FakeByteStream::FakeByteStream(FakeByteStreamFactory& factory)
    : m_factory(factory)
{
}

bool FakeByteStream::record(const QString& call)
{
    m_factory.calls.append(call);
    return !call.startsWith(m_factory.failingCall) || m_factory.failingCall.isEmpty();
}

bool FakeByteStream::setType(int type)
{
    return record(QStringLiteral("Type %1").arg(type));
}

bool FakeByteStream::setMode(int mode)
{
    return record(QStringLiteral("Mode %1").arg(mode));
}

bool FakeByteStream::Open()
{
    return record(QStringLiteral("Open"));
}

bool FakeByteStream::Write(const QByteArray& bytes)
{
    if (!record(QStringLiteral("Write %1").arg(QString::fromLatin1(bytes.toHex()))))
        return false;
    m_bytes = bytes;
    return true;
}

bool FakeByteStream::setPosition(qint64 position)
{
    return record(QStringLiteral("Position %1").arg(position));
}

bool FakeByteStream::setCharset(const QString& charset)
{
    return record(QStringLiteral("Charset %1").arg(charset)) && charset == u"utf-8";
}

std::optional<QString> FakeByteStream::ReadText()
{
    if (!record(QStringLiteral("ReadText")))
        return std::nullopt;
    return QString::fromUtf8(m_bytes);
}

bool FakeByteStream::Close()
{
    return record(QStringLiteral("Close"));
}

std::unique_ptr<ByteStream> FakeByteStreamFactory::createStream()
{
    if (creationFails)
        return nullptr;
    return std::make_unique<FakeByteStream>(*this);
}
