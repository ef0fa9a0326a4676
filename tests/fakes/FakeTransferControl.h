#pragma once

#include "platform/TransferControl.h"

#include <QStringList>

// Records what it is asked to do; `busy` is what StillExecuting() reports.
class FakeTransferControl : public TransferControl {
public:
    void Execute(const QString& address, const QString& operation) override;
    bool StillExecuting() const override;
    void Cancel() override;

    bool busy = false;
    // "Execute <operation> <address>", "StillExecuting", "Cancel" in order.
    mutable QStringList calls;
    QStringList executedAddresses;
};
