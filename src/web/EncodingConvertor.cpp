#include "web/EncodingConvertor.h"

#include "platform/ByteStream.h"

QString EncodingConvertor(ByteStreamFactory& streams, const QByteArray& body,
                          const QString& charset)
{
    const auto stream = streams.createStream();
    if (!stream)
        return {};

    // Every step runs even after one failed; any failure voids the text.
    bool ok = stream->setType(ByteStream::BinaryType);
    ok &= stream->setMode(ByteStream::ReadWriteMode);
    ok &= stream->Open();
    ok &= stream->Write(body);
    ok &= stream->setPosition(0);
    ok &= stream->setType(ByteStream::TextType);
    ok &= stream->setCharset(charset);
    const std::optional<QString> text = stream->ReadText();
    ok &= stream->Close();

    if (!ok || !text)
        return {};
    return *text;
}
