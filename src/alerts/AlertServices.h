// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertChannel.h"
#include "alerts/AlertMessage.h"
#include "platform/WebHook.h"

#include <QJsonObject>

#include <optional>
#include <span>

// Everything known of one kind of alert address: what the settings dialog
// asks for, how a message is put to the service and how its reply is read.
// The dialog, the requests, the verdicts and the sandbox's options all read
// this; a hook says only what a row cannot.
struct AlertService {
    // What the settings dialog asks for: a label per field it shows (hidden
    // without one), the address's placeholder and a note below the fields.
    struct Dialog {
        const char* address = nullptr;
        const char* hint = "";
        const char* server = nullptr;
        const char* key = nullptr;
        const char* chat = nullptr;
        const char* secret = nullptr;
        const char* body = nullptr;
        const char* note = "";
    };
    // A service asked for by parts keeps the address they make, written with
    // "{server}", "{key}" and "{chat}", so that a copied address works as it
    // is; the server is the default unless the owner names one.
    struct Address {
        const char* pattern = nullptr;
        const char* defaultServer = "";
    };
    // A POST to `postTo` (a pattern as above) or else to the address, of
    // JSON: `fixedFields`, the text at `text` (a dotted path), the title, key
    // and chat at theirs. Without a text field the body is the text alone.
    // What the service takes at most, 0 for no limit: the text in UTF-16
    // units or in bytes of UTF-8, the title in UTF-16 units.
    struct Request {
        const char* postTo = nullptr;
        const char* fixedFields = "{}";
        const char* text = nullptr;
        const char* title = nullptr;
        const char* key = nullptr;
        const char* chat = nullptr;
        int textLength = 0;
        int textBytes = 0;
        int titleLength = 0;
    };

    AlertChannel::Kind kind;
    // Its name in the settings file, the journal and the sandbox's options.
    const char* name;
    // In the owner's words.
    const char* title;
    Dialog dialog = {};
    Address address = {};
    Request request = {};
    // Fields of a 2xx reply, as JSON, any one of which says the message was
    // taken; none when a 2xx is enough.
    const char* takenWhen = "{}";

    // Server酱 picks its host from the key.
    QString (*serverFor)(const QString& key) = nullptr;
    // A bot set to check a signature gets it in the address or the body.
    void (*sign)(QString& address, QJsonObject& body, const QString& secret,
                 const QDateTime& now) = nullptr;
    // The owner's own templates.
    WebHookRequest (*custom)(const AlertChannel& channel, const AlertMessage& message) = nullptr;
};

// Every service, in the order the settings dialog offers them.
std::span<const AlertService> alertServices();
const AlertService& serviceOf(AlertChannel::Kind kind);

QString channelKindName(AlertChannel::Kind kind);
std::optional<AlertChannel::Kind> channelKindNamed(const QString& name);

// The custom POST's body before the owner writes one: the JSON the alert
// address has always received.
extern const QString DefaultPostBody;
