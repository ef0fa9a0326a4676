// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// What a page fetch got.
struct PageReply {
    // The body decoded, as far as the fetch keeps it; empty when there was
    // none, it could not be decoded, or the fetch gave up.
    QString text;
    // The answer's HTTP status; 0 when the transport knows none.
    int status = 0;
    // Where the answer came from after redirects; empty when there was none.
    QString address;
    // The body went on past what the fetch keeps: `text` is its beginning.
    bool cut = false;
    // The fetch's sought bytes came in the part of the body not kept.
    bool soughtInRest = false;
};
