// SPDX-License-Identifier: GPL-3.0-or-later

#include "WaitCost.h"

#include "platform/qt/QtHttpClient.h"
#include "scan/ScanCycle.h"
#include "web/PageFetch.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTcpServer>
#include <QTimer>

#include <sys/resource.h>

namespace {

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return t.tv_sec + t.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

QString measureWaitCost(int seconds)
{
    // Accepts connections and never answers them.
    QTcpServer silentServer;
    if (!silentServer.listen(QHostAddress::LocalHost))
        return QStringLiteral("wait cost: cannot listen on 127.0.0.1");

    QNetworkAccessManager network;
    QtHttpClient client(network);
    PageFetch fetch(client, ScanCycle::RecordPageLimit);
    QEventLoop loop;
    QString body;
    QObject::connect(&fetch, &PageFetch::finished, &loop, [&](const PageReply& reply) {
        body = reply.text;
        loop.quit();
    });
    // What a keep-alive refresh does: the waiting fetch gives up.
    QTimer::singleShot(seconds * 1000, &fetch, &PageFetch::giveUp);

    const double processorBefore = processorSeconds();
    QElapsedTimer wall;
    wall.start();
    fetch.GetResponse(QStringLiteral("http://127.0.0.1:%1/record").arg(silentServer.serverPort()),
                      QStringLiteral("gb2312"));
    loop.exec();
    const double processor = processorSeconds() - processorBefore;

    return QStringLiteral("wait cost: %1 s of processor time while one fetch waited %2 s "
                          "(gave up with %3 characters)")
        .arg(processor, 0, 'f', 3)
        .arg(wall.elapsed() / 1000.0, 0, 'f', 2)
        .arg(body.size());
}
