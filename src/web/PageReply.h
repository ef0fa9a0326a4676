#pragma once

#include <QString>

// What a page fetch got.
struct PageReply {
    // The body decoded; empty when there was none, it could not be decoded,
    // or the fetch gave up.
    QString text;
    // The answer's HTTP status; 0 when the transport knows none.
    int status = 0;
    // Where the answer came from after redirects; empty when there was none.
    QString address;
};
