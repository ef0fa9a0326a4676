#pragma once

#include "platform/ByteStream.h"

#include <QStringList>

class FakeByteStreamFactory;

// Decodes UTF-8 only, and records the calls made on it.
class FakeByteStream : public ByteStream {
public:
    explicit FakeByteStream(FakeByteStreamFactory& factory);

    bool setType(int type) override;
    bool setMode(int mode) override;
    bool Open() override;
    bool Write(const QByteArray& bytes) override;
    bool setPosition(qint64 position) override;
    bool setCharset(const QString& charset) override;
    std::optional<QString> ReadText() override;
    bool Close() override;

private:
    bool record(const QString& call);

    FakeByteStreamFactory& m_factory;
    QByteArray m_bytes;
};

class FakeByteStreamFactory : public ByteStreamFactory {
public:
    std::unique_ptr<ByteStream> createStream() override;

    bool creationFails = false;
    // The call (as recorded in `calls`, e.g. "Close") that fails.
    QString failingCall;
    QStringList calls;
};
