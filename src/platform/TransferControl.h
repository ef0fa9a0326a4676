#pragma once

#include <QString>

// Fire-and-forget GET requests: Execute() starts one and returns at once;
// nobody reads the reply.
class TransferControl {
public:
    virtual ~TransferControl() = default;

    virtual void Execute(const QString& address, const QString& operation) = 0;
    virtual bool StillExecuting() const = 0;
    virtual void Cancel() = 0;
};
