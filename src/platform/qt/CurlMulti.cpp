// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/CurlMulti.h"

#include "platform/qt/CurlCall.h"

#include <algorithm>
#include <climits>
#include <utility>

CurlMulti::CurlMulti()
{
    // Once per process and never undone: another multi may come later.
    static const CURLcode globalInit = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (globalInit == CURLE_OK)
        m_multi = curl_multi_init();
    if (m_multi) {
        curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &CurlMulti::onSocket);
        curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
        curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &CurlMulti::onTimer);
        curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
    }
    m_timer.setSingleShot(true);
    m_timer.callOnTimeout([this] { act(CURL_SOCKET_TIMEOUT, 0); });
    m_leftBehindTimer.setSingleShot(true);
    m_leftBehindTimer.callOnTimeout([this] { freeExpiredCalls(); });
}

CurlMulti::~CurlMulti()
{
    // Each call left behind takes its transfer out as it goes.
    m_leftBehind.clear();
    for (const auto& transfer : m_transfers)
        curl_multi_remove_handle(m_multi, transfer.first);
    m_transfers.clear();
    if (m_multi)
        curl_multi_cleanup(m_multi);
}

bool CurlMulti::start(CURL* easy, std::function<void(CURLcode)> done)
{
    if (!m_multi || !easy)
        return false;
    m_transfers.emplace(easy, std::move(done));
    if (curl_multi_add_handle(m_multi, easy) == CURLM_OK)
        return true;
    m_transfers.erase(easy);
    return false;
}

void CurlMulti::stop(CURL* easy)
{
    if (m_transfers.erase(easy) != 0)
        curl_multi_remove_handle(m_multi, easy);
}

void CurlMulti::leaveBehind(std::unique_ptr<CurlCall> call, std::chrono::milliseconds limit)
{
    // Once its answer has begun, the request has reached the server, and
    // nobody reads the rest: freeing the call stops it.
    if (!call || !call->running() || call->answerBegun())
        return;
    call->endAtAnswer();
    const CurlCall* key = call.get();
    call->onFinished([this, key](const HttpAnswer&) { forget(key); });
    m_leftBehind.push_back({std::move(call), QDeadlineTimer(limit)});
    armLeftBehindTimer();
}

int CurlMulti::onSocket(CURL* /*easy*/, curl_socket_t socket, int what, void* self,
                        void* /*socketData*/)
{
    auto* multi = static_cast<CurlMulti*>(self);
    if (what == CURL_POLL_REMOVE)
        multi->unwatch(socket);
    else
        multi->watch(socket, (what & CURL_POLL_IN) != 0, (what & CURL_POLL_OUT) != 0);
    return 0;
}

int CurlMulti::onTimer(CURLM* /*multi*/, long timeoutMs, void* self)
{
    // Curl must not be called back from here, so the timer does it later,
    // even when the time is already up.
    QTimer& timer = static_cast<CurlMulti*>(self)->m_timer;
    if (timeoutMs < 0)
        timer.stop();
    else
        timer.start(int(std::min<long>(timeoutMs, INT_MAX)));
    return 0;
}

void CurlMulti::watch(curl_socket_t socket, bool read, bool write)
{
    SocketWatch& watch = m_sockets[socket];
    watchDirection(watch.read, socket, QSocketNotifier::Read, read);
    watchDirection(watch.write, socket, QSocketNotifier::Write, write);
}

void CurlMulti::watchDirection(QSocketNotifier*& notifier, curl_socket_t socket,
                               QSocketNotifier::Type type, bool enabled)
{
    if (!notifier && enabled) {
        notifier = new QSocketNotifier(socket, type, &m_notifiers);
        const int events = type == QSocketNotifier::Read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
        QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                         [this, socket, events] { act(socket, events); });
    }
    if (notifier)
        notifier->setEnabled(enabled);
}

void CurlMulti::unwatch(curl_socket_t socket)
{
    const auto found = m_sockets.find(socket);
    if (found == m_sockets.end())
        return;
    for (QSocketNotifier* notifier : {found->second.read, found->second.write}) {
        if (!notifier)
            continue;
        // Disabled at once, since curl may open another socket under the same number.
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    m_sockets.erase(found);
}

void CurlMulti::act(curl_socket_t socket, int events)
{
    int running = 0;
    curl_multi_socket_action(m_multi, socket, events, &running);
    collectFinished();
}

void CurlMulti::collectFinished()
{
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL* easy = message->easy_handle;
        const CURLcode result = message->data.result;
        const auto found = m_transfers.find(easy);
        if (found == m_transfers.end())
            continue;
        // Out of the table before `done` runs, as it may start, stop or free
        // transfers, this one's owner included.
        const auto done = std::move(found->second);
        m_transfers.erase(found);
        curl_multi_remove_handle(m_multi, easy);
        done(result);
    }
}

void CurlMulti::forget(const CurlCall* call)
{
    std::erase_if(m_leftBehind,
                  [call](const LeftBehind& entry) { return entry.call.get() == call; });
}

void CurlMulti::freeExpiredCalls()
{
    // Freeing a call stops its transfer without calling it back, so nothing
    // touches the table while it shrinks.
    std::erase_if(m_leftBehind,
                  [](const LeftBehind& entry) { return entry.deadline.hasExpired(); });
    armLeftBehindTimer();
}

void CurlMulti::armLeftBehindTimer()
{
    const auto next = std::ranges::min_element(m_leftBehind, {}, &LeftBehind::deadline);
    if (next == m_leftBehind.end())
        m_leftBehindTimer.stop();
    else
        m_leftBehindTimer.start(int(std::min<qint64>(next->deadline.remainingTime(), INT_MAX)));
}
