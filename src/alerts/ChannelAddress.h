// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertChannel.h"

#include <QString>

// What the owner is given by a service whose address holds a key, as the
// settings dialog asks for it. The channel keeps the address whole, as the
// service would give it, so that a copied address works as it is.
struct AddressParts {
    // Bark's, ntfy's and Gotify's server; the others have one of their own.
    QString server;
    // The SendKey, token, device key, topic or bot token.
    QString key;
    // Telegram's chat id.
    QString chat;

    friend bool operator==(const AddressParts&, const AddressParts&) = default;
};

// Whether the kind's address is made of parts; the webhooks and the custom
// kinds are given as one address.
bool hasAddressParts(AlertChannel::Kind kind);
// The server a kind with a server of the owner's choice uses when none is given.
QString defaultServer(AlertChannel::Kind kind);
QString composeAddress(AlertChannel::Kind kind, const AddressParts& parts);
AddressParts splitAddress(AlertChannel::Kind kind, const QString& address);
