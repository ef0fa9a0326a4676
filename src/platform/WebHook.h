#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Calls an address that relays a message on, as the push services and group
// bots owners use take them: one GET of the address, or one POST of a JSON
// body to it, sent exactly once.
class WebHook {
public:
    virtual ~WebHook() = default;

    // A POST when `json` is not empty. `done` gets the answer's HTTP status,
    // 0 when none came.
    virtual void call(const QString& address, const QByteArray& json,
                      std::function<void(int status)> done) = 0;
};
