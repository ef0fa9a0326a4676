#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// A buffer that takes bytes and yields them as text in a named charset.
// Every operation reports whether it succeeded; the caller decides what a
// failure means.
class ByteStream {
public:
    static constexpr int BinaryType = 1;
    static constexpr int TextType = 2;
    static constexpr int ReadWriteMode = 3;

    virtual ~ByteStream() = default;

    virtual bool setType(int type) = 0;
    virtual bool setMode(int mode) = 0;
    virtual bool Open() = 0;
    virtual bool Write(const QByteArray& bytes) = 0;
    virtual bool setPosition(qint64 position) = 0;
    // Fails on a charset name the stream does not know.
    virtual bool setCharset(const QString& charset) = 0;
    // The text from the current position to the end.
    virtual std::optional<QString> ReadText() = 0;
    virtual bool Close() = 0;
};

class ByteStreamFactory {
public:
    virtual ~ByteStreamFactory() = default;

    // Null when no stream can be made.
    virtual std::unique_ptr<ByteStream> createStream() = 0;
};
