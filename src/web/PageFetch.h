#pragma once

#include <QString>
#include <QStringList>

class ByteStreamFactory;
class HttpRequestFactory;
class MessagePump;
class TextBox;

// Reads one web page while the window goes on handling its events. Progress
// shows in the status box; another handler makes a waiting fetch give up by
// writing a home-page prefix into the page box.
class PageFetch {
public:

    PageFetch(HttpRequestFactory& requests, ByteStreamFactory& streams, MessagePump& pump,
              TextBox& statusBox, const TextBox& pageBox, QStringList homePagePrefixes);

    // The body decoded in `charset`; the empty text when there is no body,
    // it cannot be decoded, or the fetch gave up.
    QString GetResponse(const QString& address, const QString& charset);

private:
    HttpRequestFactory& m_requests;
    ByteStreamFactory& m_streams;
    MessagePump& m_pump;
    TextBox& m_statusBox;
    const TextBox& m_pageBox;
    QStringList m_homePagePrefixes;
};
