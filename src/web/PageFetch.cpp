#include "web/PageFetch.h"

#include "platform/HttpRequest.h"
#include "platform/MessagePump.h"
#include "ui/StatusTexts.h"
#include "ui/TextBox.h"
#include "web/EncodingConvertor.h"

namespace {
constexpr int Completed = 4;
}

PageFetch::PageFetch(HttpRequestFactory& requests, ByteStreamFactory& streams, MessagePump& pump,
                     TextBox& statusBox, const TextBox& pageBox, QStringList homePagePrefixes)
    : m_requests(requests)
    , m_streams(streams)
    , m_pump(pump)
    , m_statusBox(statusBox)
    , m_pageBox(pageBox)
    , m_homePagePrefixes(std::move(homePagePrefixes))
{
}

QString PageFetch::GetResponse(const QString& address, const QString& charset)
{
    const auto request = m_requests.createRequest();
    if (request) {
        request->Open(QStringLiteral("GET"), address, true);
        request->send();
    }

    // A completed request wins over a give-up signal that arrived meanwhile.
    while (!request || request->ReadyState() != Completed) {
        if (m_homePagePrefixes.contains(m_pageBox.text())) {
            m_statusBox.setText(ScanningStatus);
            return {};
        }
        m_statusBox.setText(FetchingStatus);
        // Sleeps until the next event (the reply, a tick, a click) arrives.
        m_pump.processPendingMessages();
    }

    m_statusBox.setText(ScanningStatus);
    const QByteArray body = request->responseBody();
    if (body.isEmpty())
        return {};
    return EncodingConvertor(m_streams, body, charset);
}
