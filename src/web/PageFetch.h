#pragma once

#include "web/PageReply.h"

#include <QString>
#include <QStringList>

class ByteStreamFactory;
class HttpRequestFactory;
class MessagePump;
class WindowState;

// Reads one web page while the program goes on handling its events. Progress
// shows in the status box; another handler makes a waiting fetch give up by
// writing a home-page prefix into the page box.
class PageFetch {
public:
    PageFetch(HttpRequestFactory& requests, ByteStreamFactory& streams, MessagePump& pump,
              WindowState& state, QStringList homePagePrefixes);

    // The body decoded in `charset`; the empty text when there is no body,
    // it cannot be decoded, or the fetch gave up.
    QString GetResponse(const QString& address, const QString& charset);
    // Whether a fetch writes its progress into the status box. A fetch made
    // outside a scan must leave the box, which steers the scan, alone.
    enum class Progress { Shown, Hidden };

    // The same fetch, with what the transport knows of the answer.
    PageReply fetch(const QString& address, const QString& charset,
                    Progress progress = Progress::Shown);

private:
    HttpRequestFactory& m_requests;
    ByteStreamFactory& m_streams;
    MessagePump& m_pump;
    WindowState& m_state;
    QStringList m_homePagePrefixes;
};
