#include "platform/qt/CurlHttpClient.h"
#include "platform/qt/CurlMulti.h"
#include "platform/qt/QtHttpClient.h"
#include "scan/ScanCycle.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>

namespace {

constexpr qint64 MiB = 1024 * 1024;
constexpr int Timeout = 60000;
const QByteArray Success = "success";

// Answers one request with `size` bytes: 'x's, and "success" at the end. It
// writes as fast as the client takes them, never holding more than a few
// pieces, so the body is never in memory whole on either side.
class StreamingServer : public QTcpServer {
public:
    explicit StreamingServer(qint64 size)
        : m_size(size)
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] { serve(nextPendingConnection()); });
    }
    ~StreamingServer() override
    {
        for (QTcpSocket* socket : findChildren<QTcpSocket*>())
            socket->disconnect();
    }
    QString address() const { return u"http://127.0.0.1:%1/notify.php"_qs.arg(serverPort()); }

    // Body bytes handed to the connection so far.
    qint64 sent = 0;
    // The client closed the connection; `sent` stops there.
    bool hungUp = false;

private:
    static constexpr qint64 PieceSize = 256 * 1024;

    void serve(QTcpSocket* socket)
    {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                return;
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                          QByteArray::number(m_size) + "\r\n\r\n");
            writeMore(socket);
        });
        connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] { writeMore(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            hungUp = true;
            socket->deleteLater();
        });
    }

    void writeMore(QTcpSocket* socket)
    {
        const qint64 wordStart = m_size - Success.size();
        while (!hungUp && sent < m_size && socket->bytesToWrite() < 4 * PieceSize) {
            QByteArray piece(std::min(PieceSize, m_size - sent), 'x');
            for (qint64 at = std::max(sent, wordStart); at < sent + piece.size(); ++at)
                piece[at - sent] = Success[at - wordStart];
            socket->write(piece);
            sent += piece.size();
        }
    }

    qint64 m_size;
};

// The shop's client and the account's, as the program makes them.
struct Clients {
    CurlMulti multi;
    CurlHttpClient curl{multi, nullptr};
    QNetworkAccessManager network;
    QtHttpClient qt{network};

    HttpClient& named(const QString& name)
    {
        return name == u"curl" ? static_cast<HttpClient&>(curl) : qt;
    }
};

void addClientRows(const char* name, qint64 size)
{
    for (const char* client : {"curl", "qt"})
        QTest::addRow("%s, %s", client, name) << QString::fromLatin1(client) << size;
}

} // namespace

// A delivery URL that points at a big download must not take the desktop's
// memory: both clients read a reply under the scan's limit, however long.
class LongReplyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replyIsReadUnderTheLimit_data()
    {
        QTest::addColumn<QString>("client");
        QTest::addColumn<qint64>("size");
        addClientRows("64 MiB", 64 * MiB);
        addClientRows("past 64 MiB", 96 * MiB);
    }

    // Up to 64 MiB the beginning is kept and "success" is found at the end;
    // a longer reply is given up at 64 MiB and fails.
    void replyIsReadUnderTheLimit()
    {
        QFETCH(QString, client);
        QFETCH(qint64, size);
        Clients clients;
        StreamingServer server(size);
        const auto request = clients.named(client).get(server.address(), ScanCycle::ShopReplyLimit);
        QSignalSpy finished(request.get(), &HttpRequest::finished);
        QVERIFY(finished.wait(Timeout));
        const auto answer = finished[0][0].value<HttpAnswer>();
        const bool readable = size <= ScanCycle::ShopReplyLimit.readAtMost;
        QCOMPARE(answer.status, readable ? 200 : 0);
        QCOMPARE(answer.body, readable ? QByteArray(MiB, 'x') : QByteArray());
        QCOMPARE(answer.soughtInRest, readable);
        QTRY_VERIFY(server.hungUp || server.sent == size);
        QCOMPARE(server.sent == size, readable);
    }

    void abandonedReplyStopsAtOnce_data()
    {
        QTest::addColumn<QString>("client");
        QTest::addColumn<qint64>("size");
        addClientRows("endless", 1024 * MiB);
    }

    void abandonedReplyStopsAtOnce()
    {
        QFETCH(QString, client);
        QFETCH(qint64, size);
        Clients clients;
        StreamingServer server(size);
        auto request = clients.named(client).get(server.address(), ScanCycle::ShopReplyLimit);
        QTRY_VERIFY_WITH_TIMEOUT(server.sent > 4 * MiB, Timeout);
        const qint64 sentWhenAbandoned = server.sent;
        request.reset();
        QTRY_VERIFY(server.hungUp);
        // What was on its way already, not the rest of the body.
        QVERIFY2(server.sent < sentWhenAbandoned + 16 * MiB,
                 qPrintable(QString::number(server.sent)));
    }
};

QTEST_GUILESS_MAIN(LongReplyTest)
#include "LongReplyTest.moc"
