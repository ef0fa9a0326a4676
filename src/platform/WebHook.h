// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// A request to an address that relays a message on, as the push services
// and group bots owners use take them: a GET of the address, or a POST of a
// body to it.
struct WebHookRequest {
    QString address;
    // Sent as a POST with `contentType` when not empty; a GET otherwise.
    QByteArray body;
    QByteArray contentType;
};

// How the request ended: status 0 and no body when no whole answer came.
struct WebHookAnswer {
    int status = 0;
    QByteArray body;
};

// Sends each request exactly once.
class WebHook {
public:
    virtual ~WebHook() = default;

    // `done` is called once, when the request has ended.
    virtual void call(const WebHookRequest& request,
                      std::function<void(const WebHookAnswer& answer)> done) = 0;
};
