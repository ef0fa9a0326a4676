// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/FreePort.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>

quint16 freeLocalPort(quint16 first, quint16 last)
{
    constexpr int Tries = 50;
    for (int attempt = 0; attempt < Tries; ++attempt) {
        const auto port = quint16(QRandomGenerator::global()->bounded(first, last + 1));
        QTcpServer probe;
        if (probe.listen(QHostAddress::LocalHost, port))
            return port;
    }
    return 0;
}
