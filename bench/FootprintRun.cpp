// SPDX-License-Identifier: GPL-3.0-or-later

#include "FootprintRun.h"

#include "state/StatusTexts.h"

#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QUrlQuery>

namespace {

// The sandbox logs in and starts its first scan well within this.
constexpr int LoginTimeoutMs = 180'000;
// The first scan delivers the payments the account starts with; cost and
// growth are measured after it.
constexpr double WarmUpSeconds = 60;
// From here on memory is expected to stay flat in long runs.
constexpr double SteadyFromSeconds = 300;
// The login form shows and the sandbox logs in again well within this.
constexpr int ReloginTimeoutMs = 60'000;

quint16 freeAccountPort()
{
    // Four digits keep the account's addresses as long as the program expects.
    for (int attempt = 0; attempt < 50; ++attempt) {
        const auto port = quint16(QRandomGenerator::global()->bounded(1000, 10000));
        QTcpServer probe;
        if (probe.listen(QHostAddress::LocalHost, port))
            return port;
    }
    return 0;
}

double megabytes(qint64 kib)
{
    return kib / 1024.0;
}

struct Totals {
    qint64 rssKiB = 0;
    qint64 pssKiB = 0;
    bool pssKnown = true;
    int descriptors = 0;
    int threads = 0;
    double cpuSeconds = 0;
    int count = 0;
};

enum class Which { Main, Engine, All };

// Adds up the program's own process, the engine's, or all of them.
Totals totals(const QList<ProcessFootprint>& processes, Which which)
{
    Totals sum;
    for (const ProcessFootprint& process : processes) {
        const bool main = process.engineType.isEmpty();
        if ((which == Which::Main && !main) || (which == Which::Engine && main))
            continue;
        sum.rssKiB += process.rssKiB;
        sum.pssKiB += process.pssKiB.value_or(0);
        sum.pssKnown = sum.pssKnown && process.pssKiB.has_value();
        sum.descriptors += process.descriptors;
        sum.threads += process.threads;
        sum.cpuSeconds += process.cpuSeconds;
        ++sum.count;
    }
    return sum;
}

QString memory(qint64 rssKiB, qint64 pssKiB, bool pssKnown)
{
    return QStringLiteral("%1/%2")
        .arg(megabytes(rssKiB), 6, 'f', 1)
        .arg(pssKnown ? QString::number(megabytes(pssKiB), 'f', 1) : QStringLiteral("n/a"), 6);
}

QString seconds(const PaymentTimeline::Spread& spread)
{
    if (!spread.count)
        return QStringLiteral("none");
    return QStringLiteral("%1 / %2 / %3 s")
        .arg(spread.minimum, 0, 'f', 2)
        .arg(spread.median, 0, 'f', 2)
        .arg(spread.maximum, 0, 'f', 2);
}

} // namespace

FootprintRun::FootprintRun(FootprintOptions options, QTextStream& out)
    : m_options(std::move(options))
    , m_out(out)
{
    m_sandbox.setProcessChannelMode(QProcess::SeparateChannels);
    connect(&m_sandbox, &QProcess::readyReadStandardOutput, this, &FootprintRun::readLines);
    connect(&m_sandbox, &QProcess::finished, this, [this] {
        if (!m_done)
            fail(QStringLiteral("the sandbox exited early:\n") +
                 QString::fromLocal8Bit(m_sandbox.readAllStandardError().right(2000)));
    });
    connect(&m_sampleTimer, &QTimer::timeout, this, &FootprintRun::takeSample);
    connect(&m_paymentTimer, &QTimer::timeout, this, &FootprintRun::addPayments);
}

FootprintRun::~FootprintRun()
{
    if (m_sandbox.state() != QProcess::NotRunning) {
        m_sandbox.kill();
        m_sandbox.waitForFinished();
    }
}

void FootprintRun::start()
{
    m_port = freeAccountPort();
    QStringList arguments{
        QStringLiteral("--headless"), QStringLiteral("--port"), QString::number(m_port),
        QStringLiteral("--interval"), QString::number(m_options.interval),
        QStringLiteral("--records"), QString::number(m_options.records),
        // A journal of the run's own: the simulated account
        // numbers its payments alike in every run.
        QStringLiteral("--journal"), m_journalFolder.filePath(QStringLiteral("journal.db"))};
    if (m_options.browserSleep)
        arguments << QStringLiteral("--browser-sleep") << QString::number(*m_options.browserSleep);
    // A full record page from the start.
    for (int i = 1; i <= m_options.records; ++i)
        arguments << QStringLiteral("--payment") << QStringLiteral("seed-%1,0.01").arg(i);

    m_out << "footprint: " << m_options.sandbox << ", " << m_options.seconds
          << " s of scanning every " << m_options.interval << " s, " << m_options.records
          << " records, " << m_options.burst << " payment(s) every " << m_options.paymentEvery
          << " s" << Qt::endl;
    m_clock.start();
    m_sandbox.start(m_options.sandbox, arguments);
    QTimer::singleShot(LoginTimeoutMs, this, [this] {
        if (m_scanningSince < 0)
            fail(QStringLiteral("no scan began within %1 s").arg(LoginTimeoutMs / 1000));
    });
}

double FootprintRun::now() const
{
    return m_clock.nsecsElapsed() / 1e9;
}

void FootprintRun::readLines()
{
    m_pending += m_sandbox.readAllStandardOutput();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        onLine(line);
    }
}

void FootprintRun::onLine(const QByteArray& line)
{
    const QJsonObject event = QJsonDocument::fromJson(line).object();
    if (event.contains(QLatin1String("control"))) {
        m_token = event.value(QLatin1String("control"))
                      .toObject()
                      .value(QLatin1String("token"))
                      .toString()
                      .toLatin1();
    } else if (event.value(QLatin1String("box")).toString() == QLatin1String("status")) {
        const QString text = event.value(QLatin1String("text")).toString();
        if (m_expired)
            onStatusAfterExpiry(text);
        if (text == ScanningStatus && m_scanningSince < 0)
            onScanningStarted();
        else if (text == FetchingStatus)
            ++m_ticks;
    } else if (event.contains(QLatin1String("shop"))) {
        m_timeline.shopCalled(
            event.value(QLatin1String("shop")).toObject().value(QLatin1String("title")).toString(),
            now());
    }
}

void FootprintRun::onScanningStarted()
{
    m_scanningSince = now();
    const int sampleEvery = std::clamp(m_options.seconds / 10, 10, 60);
    m_sampleTimer.start(sampleEvery * 1000);
    // New payments wait until the first scan has delivered the starting ones,
    // which takes it about half a minute; otherwise they would wait with it.
    QTimer::singleShot(int(WarmUpSeconds * 1000), this,
                       [this] { m_paymentTimer.start(m_options.paymentEvery * 1000); });
    QTimer::singleShot(m_options.seconds * 1000, this, &FootprintRun::finish);
    m_out << "logged in and scanning after " << QString::number(m_scanningSince, 'f', 1) << " s\n"
          << "  time  ticks  main RSS/PSS MB   engine RSS/PSS MB (n)  renderer  all RSS/PSS MB"
          << Qt::endl;
    takeSample();
}

void FootprintRun::addPayments()
{
    for (int i = 0; i < m_options.burst; ++i)
        addPayment();
}

void FootprintRun::addPayment()
{
    const QString title = QStringLiteral("bench-%1").arg(++m_paymentsAdded);
    // As the /sandbox page's form adds it.
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/sandbox/pay").arg(m_port)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    const QUrlQuery form{{QStringLiteral("title"), title},
                         {QStringLiteral("amount"), QStringLiteral("0.01")},
                         {QStringLiteral("token"), QString::fromLatin1(m_token)}};
    QNetworkReply* reply = m_network.post(request, form.toString(QUrl::FullyEncoded).toUtf8());
    connect(reply, &QNetworkReply::finished, this, [this, reply, title] {
        // The account lists the payment before it answers.
        if (reply->error() == QNetworkReply::NoError)
            m_timeline.paymentAppeared(title, now());
        reply->deleteLater();
    });
}

void FootprintRun::takeSample()
{
    const qint64 main = m_sandbox.processId();
    // Without its process, every child of pid 0 would count: the whole system.
    if (main == 0)
        return;
    const Sample sample{now() - m_scanningSince, m_ticks, readFamily(main)};
    const Totals own = totals(sample.processes, Which::Main);
    const Totals engine = totals(sample.processes, Which::Engine);
    const Totals all = totals(sample.processes, Which::All);
    m_out << QStringLiteral("%1s %2  %3  %4 (%5)  %6  %7")
                 .arg(qRound(sample.at), 5)
                 .arg(sample.ticks, 5)
                 .arg(memory(own.rssKiB, own.pssKiB, own.pssKnown))
                 .arg(memory(engine.rssKiB, engine.pssKiB, engine.pssKnown))
                 .arg(engine.count)
                 .arg(rendererRuns(sample.processes) ? QStringLiteral("runs")
                                                     : QStringLiteral("gone"),
                      -8)
                 .arg(memory(all.rssKiB, all.pssKiB, all.pssKnown))
          << Qt::endl;
    m_samples.append(sample);
}

const FootprintRun::Sample& FootprintRun::sampleAtOrAfter(double at) const
{
    for (const Sample& sample : m_samples) {
        // Timers run a little early or late.
        if (sample.at >= at - 0.5)
            return sample;
    }
    return m_samples.last();
}

void FootprintRun::finish()
{
    m_sampleTimer.stop();
    m_paymentTimer.stop();
    takeSample();
    report();
    expireSession();
}

// The account ends the session, as it does after a while: how long the
// window takes from saying so to showing the login form, with the browser
// as it was left (asleep, unless told otherwise).
void FootprintRun::expireSession()
{
    m_expired = true;
    const QUrl url(QStringLiteral("http://127.0.0.1:%1/sandbox/expire").arg(m_port));
    QNetworkReply* reply = m_network.get(QNetworkRequest(url));
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    QTimer::singleShot(ReloginTimeoutMs, this, [this] {
        fail(QStringLiteral("no login form and new login within %1 s of the session's end")
                 .arg(ReloginTimeoutMs / 1000));
    });
}

void FootprintRun::onStatusAfterExpiry(const QString& status)
{
    if (status == SessionLostStatus && m_sessionLostAt < 0) {
        m_sessionLostAt = now();
    } else if (status == LoginRequestStatus && m_sessionLostAt >= 0 && m_loginFormAt < 0) {
        m_loginFormAt = now();
    } else if (status == ScanningStatus && m_loginFormAt >= 0) {
        m_out << QStringLiteral("lost session: the login form showed %1 s after the window said "
                                "so; scanning again after %2 s\n")
                     .arg(m_loginFormAt - m_sessionLostAt, 0, 'f', 2)
                     .arg(now() - m_sessionLostAt, 0, 'f', 2)
              << Qt::flush;
        stop();
    }
}

void FootprintRun::stop()
{
    m_done = true;
    m_sandbox.terminate();
    if (!m_sandbox.waitForFinished(10'000))
        m_sandbox.kill();
    Q_EMIT finished(0);
}

void FootprintRun::fail(const QString& why)
{
    if (m_done)
        return;
    m_done = true;
    m_out << "footprint: " << why << Qt::endl;
    Q_EMIT finished(1);
}

void FootprintRun::report()
{
    const Sample& last = m_samples.last();
    m_out << "\nat the end, per process:\n"
          << "  pid     what                    RSS MB   PSS MB   fds  threads   CPU s\n";
    for (const ProcessFootprint& process : last.processes) {
        m_out << QStringLiteral("  %1 %2 %3 %4 %5 %6 %7\n")
                     .arg(process.pid, -7)
                     .arg(process.describe(last.processes), -22)
                     .arg(megabytes(process.rssKiB), 8, 'f', 1)
                     .arg(process.pssKiB ? QString::number(megabytes(*process.pssKiB), 'f', 1)
                                         : QStringLiteral("n/a"),
                          8)
                     .arg(process.descriptors, 5)
                     .arg(process.threads, 8)
                     .arg(process.cpuSeconds, 7, 'f', 2);
    }
    const Totals all = totals(last.processes, Which::All);
    m_out << QStringLiteral("  all     %1 %2 %3 %4 %5 %6\n")
                 .arg(QString(), -22)
                 .arg(megabytes(all.rssKiB), 8, 'f', 1)
                 .arg(all.pssKnown ? QString::number(megabytes(all.pssKiB), 'f', 1)
                                   : QStringLiteral("n/a"),
                      8)
                 .arg(all.descriptors, 5)
                 .arg(all.threads, 8)
                 .arg(all.cpuSeconds, 7, 'f', 2);

    // Cost per tick, after the first scan has delivered the starting payments.
    const Sample& warm = sampleAtOrAfter(WarmUpSeconds);
    const int ticks = last.ticks - warm.ticks;
    if (ticks > 0) {
        const auto perTick = [&](Which which) {
            const double cpu =
                totals(last.processes, which).cpuSeconds - totals(warm.processes, which).cpuSeconds;
            return QString::number(cpu * 1000 / ticks, 'f', 2);
        };
        m_out << QStringLiteral("\nCPU per scan tick, %1 ticks from %2 s to %3 s: main %4 ms, "
                                "engine %5 ms (helpers that ended meanwhile are not counted)\n")
                     .arg(ticks)
                     .arg(qRound(warm.at))
                     .arg(qRound(last.at))
                     .arg(perTick(Which::Main), perTick(Which::Engine));
    }

    const Sample& steady =
        sampleAtOrAfter(last.at > 2 * SteadyFromSeconds ? SteadyFromSeconds : warm.at);
    const Totals before = totals(steady.processes, Which::All);
    m_out << QStringLiteral("growth from %1 s to %2 s: RSS %3 MB, PSS %4 MB\n")
                 .arg(qRound(steady.at))
                 .arg(qRound(last.at))
                 .arg(megabytes(all.rssKiB - before.rssKiB), 0, 'f', 1)
                 .arg(megabytes(all.pssKiB - before.pssKiB), 0, 'f', 1);

    m_out << QStringLiteral("payments: %1 appeared, %2 delivered (two calls)\n"
                            "  appearing to first call   min/median/max %3\n"
                            "  appearing to second call  min/median/max %4\n"
                            "  first to second call      min/median/max %5\n")
                 .arg(m_timeline.appeared())
                 .arg(m_timeline.delivered())
                 .arg(seconds(m_timeline.toFirstCall()), seconds(m_timeline.toSecondCall()),
                      seconds(m_timeline.betweenCalls()))
          << Qt::flush;
}
