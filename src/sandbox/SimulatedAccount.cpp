// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/SimulatedAccount.h"

#include "sandbox/AccountPages.h"
#include "sandbox/AmountText.h"
#include "sandbox/ExactRoute.h"
#include "sandbox/QueryString.h"
#include "sandbox/RecordPage.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QRandomGenerator>

#include <functional>

namespace {

using StatusCode = QHttpServerResponse::StatusCode;

const QString DateFormat = QStringLiteral("yyyy.MM.dd");
constexpr int RecordWindowDays = 15;

// Fills the middle of every trade number, between its date and its serial.
const QString TradeNoInfix = QStringLiteral("2200140495");

// The program appends the first and the last day of the fifteen-day window.
QString recordQuery(QDate today)
{
    return Endpoints::RecordQueryStart + today.addDays(-RecordWindowDays).toString(DateFormat) +
           QStringLiteral("&endDate=") + today.toString(DateFormat);
}

QHttpServerResponse html(const QString& text, StatusCode status = StatusCode::Ok)
{
    return QHttpServerResponse(QByteArrayLiteral("text/html; charset=utf-8"), text.toUtf8(),
                               status);
}

QHttpServerResponse redirect(const QString& location)
{
    QHttpServerResponse response(QByteArrayLiteral("text/plain"), QByteArrayLiteral("Found\n"),
                                 StatusCode::Found);
    response.setHeader(QByteArrayLiteral("Location"), location.toUtf8());
    return response;
}

void setSessionCookie(QHttpServerResponse& response, const QByteArray& token)
{
    response.addHeader(QByteArrayLiteral("Set-Cookie"),
                       SimulatedAccount::SessionCookie + '=' + token + "; Path=/; HttpOnly");
}

QByteArray newToken()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char*>(words), sizeof(words)).toHex();
}

// The query exactly as the client sent it. QHttpServer 6.4 only keeps the
// request target as a QUrl, which writes escapes of letters and digits as
// the characters and hex digits in capitals; everything else survives as sent.
QString rawQuery(const QHttpServerRequest& request)
{
    return request.url().query(QUrl::FullyEncoded);
}

} // namespace

const QString SimulatedAccount::User = QStringLiteral("sandbox");
const QString SimulatedAccount::Password = QStringLiteral("sandbox");
const QByteArray SimulatedAccount::SessionCookie = QByteArrayLiteral("sandbox_session");

SimulatedAccount::SimulatedAccount(QObject* parent)
    : QObject(parent)
    , m_server(new QHttpServer(this))
    , m_controlToken(newToken())
{
    serve(exactRoute("/login"), std::bind_front(&SimulatedAccount::login, this));
    serve(exactRoute("/portal/i.htm"), std::bind_front(&SimulatedAccount::home, this));
    serve(exactRoute("/portal/home.htm"), std::bind_front(&SimulatedAccount::home, this));
    serve(exactRoute("/"), std::bind_front(&SimulatedAccount::keepAlive, this));
    serve(exactRoute("/record/standard.htm"), std::bind_front(&SimulatedAccount::recordPage, this));
    serve(exactRoute("/sandbox"), [this](const QHttpServerRequest&) { return sandbox(); });
    serve(exactRoute("/sandbox/pay"), std::bind_front(&SimulatedAccount::pay, this));
    // As the real service does after a while: the session ends, and the
    // record page sends its requests to the login form.
    serve(exactRoute("/sandbox/expire"), [this](const QHttpServerRequest&) {
        expireSessions();
        return html(AccountPages::sessionsExpired());
    });
    // Every other path, so that none is served to another site either.
    serve(QStringLiteral(".*"),
          [](const QHttpServerRequest&) { return QHttpServerResponse(StatusCode::NotFound); });
}

void SimulatedAccount::serve(const QString& path, Page page)
{
    m_server->route(path, [this, page](const QHttpServerRequest& request) {
        if (!isOwnRequest(request))
            return html(AccountPages::foreignRequestRefused(), StatusCode::Forbidden);
        return page(request);
    });
}

// A page of another site in the owner's browser can send requests here: as
// the same origin after its name was rebound to 127.0.0.1 (the Host then
// names it), or as a cross-site form or image (the Origin names it, or the
// token is missing).
bool SimulatedAccount::isOwnRequest(const QHttpServerRequest& request) const
{
    const QByteArray port = QByteArray::number(m_port);
    const QList<QByteArray> hosts{"127.0.0.1:" + port, "localhost:" + port, "[::1]:" + port};
    const QByteArray origin = request.value("Origin").toLower();
    const QByteArray scheme = "http://";
    return hosts.contains(request.value("Host").toLower()) &&
           (origin.isEmpty() ||
            (origin.startsWith(scheme) && hosts.contains(origin.sliced(scheme.size()))));
}

SimulatedAccount::~SimulatedAccount() = default;

bool SimulatedAccount::listen(quint16 port)
{
    m_port = m_server->listen(QHostAddress::LocalHost, port);
    return m_port != 0;
}

QString SimulatedAccount::address(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(QString::number(m_port), path);
}

Endpoints SimulatedAccount::endpoints() const
{
    Endpoints endpoints;
    endpoints.PersonalHomeUrl = address(QStringLiteral("/portal/i.htm"));
    endpoints.PortalHomeUrl = address(QStringLiteral("/portal/home.htm"));
    endpoints.MerchantHomeUrl = address(QStringLiteral("/merchant/home/i.htm"));
    endpoints.AccountRootUrl = address(QString());
    endpoints.RecordQueryUrl =
        address(QStringLiteral("/record/standard.htm?") + Endpoints::RecordQueryStart);
    return endpoints;
}

QString SimulatedAccount::recordPageUrl(QDate today) const
{
    return address(QStringLiteral("/record/standard.htm?") + recordQuery(today));
}

QString SimulatedAccount::loginUrl() const
{
    return address(QStringLiteral("/login"));
}

std::optional<SimulatedPayment> SimulatedAccount::addPayment(const QString& title,
                                                             const QString& amount)
{
    const std::optional<QString> amountText = normalizedAmount(amount);
    if (!amountText)
        return std::nullopt;
    const SimulatedPayment payment{nextTradeNo(), title, *amountText};
    m_payments.prepend(payment);
    Q_EMIT paymentAdded(payment);
    return payment;
}

QString SimulatedAccount::nextTradeNo()
{
    ++m_tradeCounter;
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + TradeNoInfix +
           QStringLiteral("%1").arg(m_tradeCounter, 10, 10, QLatin1Char('0'));
}

QByteArray SimulatedAccount::sessionOf(const QHttpServerRequest& request) const
{
    const QByteArray prefix = SessionCookie + '=';
    for (const auto& [name, value] : request.headers()) {
        if (name.compare("Cookie", Qt::CaseInsensitive) != 0)
            continue;
        for (const QByteArray& cookie : value.split(';')) {
            const QByteArray trimmed = cookie.trimmed();
            if (!trimmed.startsWith(prefix))
                continue;
            const QByteArray token = trimmed.mid(prefix.size());
            if (m_sessions.contains(token))
                return token;
        }
    }
    return {};
}

QHttpServerResponse SimulatedAccount::login(const QHttpServerRequest& request)
{
    if (request.method() != QHttpServerRequest::Method::Post)
        return html(AccountPages::login(QString()));

    const QueryString form = QueryString::parse(request.body());
    if (QString::fromUtf8(form.value("user")) != User ||
        QString::fromUtf8(form.value("password")) != Password) {
        return html(
            AccountPages::login(QStringLiteral("用户名或密码错误 / Wrong user name or password.")));
    }
    const QByteArray token = newToken();
    m_sessions.insert(token);
    QHttpServerResponse response = redirect(endpoints().PersonalHomeUrl);
    setSessionCookie(response, token);
    Q_EMIT loggedIn();
    return response;
}

QHttpServerResponse SimulatedAccount::home(const QHttpServerRequest& request) const
{
    if (sessionOf(request).isEmpty())
        return redirect(loginUrl());
    return html(AccountPages::home(m_payments));
}

QHttpServerResponse SimulatedAccount::keepAlive(const QHttpServerRequest& request)
{
    const QByteArray token = sessionOf(request);
    if (token.isEmpty())
        return redirect(loginUrl());
    QHttpServerResponse response = html(AccountPages::keepAlive());
    setSessionCookie(response, token);
    return response;
}

QHttpServerResponse SimulatedAccount::recordPage(const QHttpServerRequest& request)
{
    if (sessionOf(request).isEmpty())
        return redirect(loginUrl());

    const QString expected = recordQuery(QDate::currentDate());
    if (rawQuery(request) != expected)
        return html(AccountPages::recordQueryRefused(expected), StatusCode::BadRequest);

    Q_EMIT recordPageServed();
    return QHttpServerResponse(QByteArrayLiteral("text/html; charset=GBK"),
                               m_recordPage ? *m_recordPage : RecordPage::render(m_payments));
}

QHttpServerResponse SimulatedAccount::sandbox() const
{
    return html(AccountPages::sandbox(m_payments, recordPageUrl(QDate::currentDate()),
                                      QString::fromLatin1(m_controlToken)));
}

QHttpServerResponse SimulatedAccount::pay(const QHttpServerRequest& request)
{
    // A link or an image cannot add a payment, nor a form that lacks the token.
    if (request.method() != QHttpServerRequest::Method::Post) {
        QHttpServerResponse refused =
            html(AccountPages::paymentRefused(QStringLiteral("请用 /sandbox 页面上的表单 / Use the "
                                                             "form on the /sandbox page")),
                 StatusCode::MethodNotAllowed);
        refused.setHeader(QByteArrayLiteral("Allow"), QByteArrayLiteral("POST"));
        return refused;
    }
    const QueryString form = QueryString::parse(request.body());
    if (form.value("token") != m_controlToken)
        return html(AccountPages::foreignRequestRefused(), StatusCode::Forbidden);
    const QString amount = QString::fromUtf8(form.value("amount"));
    const std::optional<SimulatedPayment> payment =
        addPayment(QString::fromUtf8(form.value("title")), amount);
    if (!payment) {
        return html(AccountPages::paymentRefused(
                        QStringLiteral("金额无效 / Not a valid amount: \"%1\" (a positive "
                                       "number with at most two decimals)")
                            .arg(amount)),
                    StatusCode::BadRequest);
    }
    return html(AccountPages::paymentAdded(*payment));
}
