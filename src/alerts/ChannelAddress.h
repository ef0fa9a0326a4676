// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertChannel.h"

#include <QString>

// What the owner is given by a service whose address holds a key, as the
// settings dialog asks for it. The channel keeps the address whole, as the
// service would give it, so that a copied address works as it is.
struct AddressParts {
    // The server, where the owner may choose one; empty where the dialog
    // does not ask for it.
    QString server;
    // The SendKey, token, device key, topic or bot token.
    QString key;
    // Telegram's chat id.
    QString chat;

    friend bool operator==(const AddressParts&, const AddressParts&) = default;
};

// Whether the kind's address is asked for by parts; the webhooks and the
// custom kinds are given as one address.
bool hasAddressParts(AlertChannel::Kind kind);
QString composeAddress(AlertChannel::Kind kind, const AddressParts& parts);
AddressParts splitAddress(AlertChannel::Kind kind, const QString& address);
// The parts with the server the address names, asked for or not.
AddressParts addressPartsOf(AlertChannel::Kind kind, const QString& address);
// `pattern` with the parts put in: the key and the chat percent-encoded,
// the server as it is, or the kind's own when none is given.
QString fillAddressPattern(AlertChannel::Kind kind, const char* pattern, const AddressParts& parts);
