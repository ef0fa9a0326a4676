#include "fakes/FakeBrowserControl.h"

void FakeBrowserControl::complete(const QString& address)
{
    location = address;
    Q_EMIT DocumentComplete();
}

bool FakeBrowserControl::requestNewWindow(const QString& requestedAddress)
{
    bool cancel = false;
    Q_EMIT NewWindow2(requestedAddress, cancel);
    return cancel;
}
