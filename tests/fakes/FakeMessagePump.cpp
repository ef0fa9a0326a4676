#include "fakes/FakeMessagePump.h"

void FakeMessagePump::processPendingMessages(int wakeAfterMs)
{
    ++passes;
    wakeRequests.append(wakeAfterMs);
    if (onPass)
        onPass(passes);
}
