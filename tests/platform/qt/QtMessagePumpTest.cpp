#include "platform/qt/QtMessagePump.h"
#include "platform/qt/QtHttpRequest.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHttpServer>
#include <QNetworkAccessManager>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <ctime>

namespace {

constexpr int Done = 4;

// Processor time this process has used, in milliseconds.
qint64 processorMs()
{
    return static_cast<qint64>(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

} // namespace

class TestQtMessagePump : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void idleWaitEndsAfterTheWakeTime();
    void idleWaitInsideAHandlerEndsAfterTheWakeTime();
    void pendingEventIsHandledWithoutWaiting();
    void arrivingReplyEndsTheWait();

private:
    // Waits as the pump does and checks the time and processor time it took.
    void checkIdleWait();

    QtMessagePump m_pump;
    // The server answers from its own thread, so that nothing in the test's
    // thread but the reply itself can end a wait.
    QThread m_serverThread;
    QHttpServer* m_server = nullptr;
    quint16 m_port = 0;
};

void TestQtMessagePump::initTestCase()
{
    m_server = new QHttpServer;
    m_server->route("/late", [] {
        QThread::msleep(300);
        return QHttpServerResponse("text/plain", "late");
    });
    m_server->moveToThread(&m_serverThread);
    m_serverThread.start();
    QMetaObject::invokeMethod(
        m_server, [this] { m_port = m_server->listen(QHostAddress::LocalHost, 0); },
        Qt::BlockingQueuedConnection);
    QVERIFY(m_port != 0);
}

void TestQtMessagePump::cleanupTestCase()
{
    QMetaObject::invokeMethod(
        m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_serverThread.quit();
    m_serverThread.wait();
}

void TestQtMessagePump::checkIdleWait()
{
    QCoreApplication::processEvents();
    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 processorBefore = processorMs();

    m_pump.processPendingMessages(400);

    QVERIFY2(elapsed.elapsed() >= 350, QByteArray::number(elapsed.elapsed()));
    QVERIFY2(elapsed.elapsed() < 3000, QByteArray::number(elapsed.elapsed()));
    QVERIFY2(processorMs() - processorBefore < 100,
             QByteArray::number(processorMs() - processorBefore));
}

void TestQtMessagePump::idleWaitEndsAfterTheWakeTime()
{
    checkIdleWait();
}

void TestQtMessagePump::idleWaitInsideAHandlerEndsAfterTheWakeTime()
{
    // The program waits from inside its handlers, while objects it released
    // there are still waiting to be deleted by the outer loop.
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        (new QObject)->deleteLater();
        checkIdleWait();
        loop.quit();
    });
    loop.exec();
}

void TestQtMessagePump::pendingEventIsHandledWithoutWaiting()
{
    bool handled = false;
    QMetaObject::invokeMethod(
        this, [&] { handled = true; }, Qt::QueuedConnection);
    QElapsedTimer elapsed;
    elapsed.start();

    m_pump.processPendingMessages();

    QVERIFY(handled);
    QVERIFY2(elapsed.elapsed() < 1000, QByteArray::number(elapsed.elapsed()));
}

void TestQtMessagePump::arrivingReplyEndsTheWait()
{
    QNetworkAccessManager network;
    QtHttpRequest request(network);
    request.Open(u"GET"_qs, u"http://127.0.0.1:%1/late"_qs.arg(m_port), true);
    request.send();
    QElapsedTimer elapsed;
    elapsed.start();

    while (request.ReadyState() != Done && elapsed.elapsed() < 10000)
        m_pump.processPendingMessages(30000);

    QCOMPARE(request.ReadyState(), Done);
    QCOMPARE(request.responseBody(), QByteArray("late"));
    QVERIFY2(elapsed.elapsed() < 5000, QByteArray::number(elapsed.elapsed()));
}

QTEST_GUILESS_MAIN(TestQtMessagePump)
#include "QtMessagePumpTest.moc"
