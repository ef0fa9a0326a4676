#include "platform/qt/QtTransferControl.h"

#include <QHttpServer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTest>

#include <vector>

class TestQtTransferControl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void executeSendsTheWholeAddress_data();
    void executeSendsTheWholeAddress();
    void stillExecutingUntilTheServerAnswers();
    void cancelAbortsTheRequest();
    void executeWhileBusyIsIgnored();
    void unknownOperationIsIgnored();

private:
    QString address(const QString& pathAndQuery) const;

    QNetworkAccessManager m_network;
    QHttpServer m_server;
    quint16 m_port = 0;
    QList<QUrl> m_received;
    std::vector<QHttpServerResponder> m_unanswered;
};

void TestQtTransferControl::initTestCase()
{
    m_server.route("/notify", [this](const QHttpServerRequest& request) {
        m_received.append(request.url());
        return QHttpServerResponse("text/plain", "success");
    });
    m_server.route("/slow", [this](QHttpServerResponder&& responder) {
        m_unanswered.push_back(std::move(responder));
    });
    m_port = m_server.listen(QHostAddress::LocalHost, 0);
    QVERIFY(m_port != 0);
}

void TestQtTransferControl::cleanup()
{
    m_received.clear();
    m_unanswered.clear();
    QTRY_VERIFY(m_network.findChildren<QNetworkReply*>().isEmpty());
}

QString TestQtTransferControl::address(const QString& pathAndQuery) const
{
    return u"http://127.0.0.1:%1%2"_qs.arg(m_port).arg(pathAndQuery);
}

void TestQtTransferControl::executeSendsTheWholeAddress_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("lower case") << u"get"_qs;
    QTest::newRow("upper case") << u"GET"_qs;
    QTest::newRow("mixed case") << u"Get"_qs;
}

void TestQtTransferControl::executeSendsTheWholeAddress()
{
    QFETCH(QString, operation);
    const QString query = u"trade_no=2024%2B0601&money=12.50&memo=%E6%B5%8B&sign=ab%2Fcd"_qs;
    QtTransferControl control(m_network);
    control.Execute(address(u"/notify?"_qs + query), operation);
    QVERIFY(control.StillExecuting());
    QTRY_VERIFY(!control.StillExecuting());
    QCOMPARE(m_received.size(), 1);
    QCOMPARE(m_received.front().path(), u"/notify"_qs);
    QCOMPARE(m_received.front().query(QUrl::FullyEncoded), query);
}

void TestQtTransferControl::stillExecutingUntilTheServerAnswers()
{
    QtTransferControl control(m_network);
    control.Execute(address(u"/slow"_qs), u"get"_qs);
    QTRY_COMPARE(m_unanswered.size(), 1u);
    QTest::qWait(200);
    QVERIFY(control.StillExecuting());

    m_unanswered.front().write("late", "text/plain");
    QTRY_VERIFY(!control.StillExecuting());
}

void TestQtTransferControl::cancelAbortsTheRequest()
{
    QtTransferControl control(m_network);
    control.Execute(address(u"/slow"_qs), u"get"_qs);
    QTRY_COMPARE(m_unanswered.size(), 1u);

    control.Cancel();
    QVERIFY(!control.StillExecuting());
    QTRY_VERIFY(m_network.findChildren<QNetworkReply*>().isEmpty());

    control.Execute(address(u"/notify?after=cancel"_qs), u"get"_qs);
    QTRY_VERIFY(!control.StillExecuting());
    QCOMPARE(m_received.size(), 1);
}

void TestQtTransferControl::executeWhileBusyIsIgnored()
{
    QtTransferControl control(m_network);
    control.Execute(address(u"/slow"_qs), u"get"_qs);
    QTRY_COMPARE(m_unanswered.size(), 1u);

    control.Execute(address(u"/notify?second=1"_qs), u"get"_qs);
    QTest::qWait(300);
    QVERIFY(m_received.isEmpty());
    QVERIFY(control.StillExecuting());
}

void TestQtTransferControl::unknownOperationIsIgnored()
{
    QtTransferControl control(m_network);
    control.Execute(address(u"/notify?post=1"_qs), u"post"_qs);
    QVERIFY(!control.StillExecuting());
    QTest::qWait(300);
    QVERIFY(m_received.isEmpty());
}

QTEST_GUILESS_MAIN(TestQtTransferControl)
#include "QtTransferControlTest.moc"
