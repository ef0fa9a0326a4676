#include "platform/qt/QtByteStreamFactory.h"

#include "platform/qt/QtByteStream.h"

std::unique_ptr<ByteStream> QtByteStreamFactory::createStream()
{
    return std::make_unique<QtByteStream>();
}
