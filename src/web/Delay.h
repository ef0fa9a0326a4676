#pragma once

class Clock;
class MessagePump;

// Waits until the wall clock, read in whole seconds with its date, has moved
// `seconds` on, handling the window's events meanwhile. A wait of 0 or less
// returns at once without handling any event.
void Delay(int seconds, const Clock& clock, MessagePump& pump);
