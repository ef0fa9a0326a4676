#pragma once

#include "platform/ByteStream.h"

class QtByteStreamFactory : public ByteStreamFactory {
public:
    std::unique_ptr<ByteStream> createStream() override;
};
