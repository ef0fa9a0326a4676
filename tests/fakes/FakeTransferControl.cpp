#include "fakes/FakeTransferControl.h"

void FakeTransferControl::Execute(const QString& address, const QString& operation)
{
    calls.append(QStringLiteral("Execute %1 %2").arg(operation, address));
    executedAddresses.append(address);
}

bool FakeTransferControl::StillExecuting() const
{
    calls.append(QStringLiteral("StillExecuting"));
    return busy;
}

void FakeTransferControl::Cancel()
{
    calls.append(QStringLiteral("Cancel"));
    busy = false;
}
