#include "web/PageFetch.h"

#include "platform/HttpRequest.h"
#include "platform/MessagePump.h"
#include "state/StatusTexts.h"
#include "state/WindowState.h"
#include "web/EncodingConvertor.h"

namespace {
constexpr int Completed = 4;
}

PageFetch::PageFetch(HttpRequestFactory& requests, ByteStreamFactory& streams, MessagePump& pump,
                     WindowState& state, QStringList homePagePrefixes)
    : m_requests(requests)
    , m_streams(streams)
    , m_pump(pump)
    , m_state(state)
    , m_homePagePrefixes(std::move(homePagePrefixes))
{
}

QString PageFetch::GetResponse(const QString& address, const QString& charset)
{
    return fetch(address, charset).text;
}

PageReply PageFetch::fetch(const QString& address, const QString& charset, Progress progress)
{
    const auto show = [&](const QString& status) {
        if (progress == Progress::Shown)
            m_state.setStatus(status);
    };
    const auto request = m_requests.createRequest();
    if (request) {
        request->Open(QStringLiteral("GET"), address, true);
        request->send();
    }

    // A completed request wins over a give-up signal that arrived meanwhile.
    // Giving up only lets go of the request, which runs on to its end.
    while (!request || request->ReadyState() != Completed) {
        if (m_homePagePrefixes.contains(m_state.page())) {
            show(ScanningStatus);
            return {};
        }
        show(FetchingStatus);
        // Sleeps until the next event (the reply, a tick, a click) arrives.
        m_pump.processPendingMessages();
    }

    show(ScanningStatus);
    PageReply reply{QString(), request->status(), request->responseURL()};
    const QByteArray body = request->responseBody();
    if (!body.isEmpty())
        reply.text = EncodingConvertor(m_streams, body, charset);
    return reply;
}
