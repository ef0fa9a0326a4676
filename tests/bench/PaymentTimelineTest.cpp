// SPDX-License-Identifier: GPL-3.0-or-later

#include "PaymentTimeline.h"
#include "support/TestRegistry.h"

#include <QTest>

class PaymentTimelineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void measuresEachPaymentFromItsAppearanceToItsTwoCalls()
    {
        PaymentTimeline timeline;
        timeline.paymentAppeared(QStringLiteral("b1"), 10);
        timeline.paymentAppeared(QStringLiteral("b2"), 30);
        timeline.paymentAppeared(QStringLiteral("b3"), 50);
        // Payments the account had before are not the bench's.
        timeline.shopCalled(QStringLiteral("seed-1"), 11);
        timeline.shopCalled(QStringLiteral("b1"), 11);
        timeline.shopCalled(QStringLiteral("b1"), 14);
        timeline.shopCalled(QStringLiteral("b2"), 33);
        timeline.shopCalled(QStringLiteral("b2"), 35.5);
        timeline.shopCalled(QStringLiteral("b3"), 52);
        timeline.shopCalled(QStringLiteral("b3"), 54);

        QCOMPARE(timeline.appeared(), 3);
        QCOMPARE(timeline.delivered(), 3);
        const PaymentTimeline::Spread first = timeline.toFirstCall();
        QCOMPARE(first.count, 3);
        QCOMPARE(first.minimum, 1.0);
        QCOMPARE(first.median, 2.0);
        QCOMPARE(first.maximum, 3.0);
        const PaymentTimeline::Spread second = timeline.toSecondCall();
        QCOMPARE(second.minimum, 4.0);
        QCOMPARE(second.median, 4.0);
        QCOMPARE(second.maximum, 5.5);
        const PaymentTimeline::Spread between = timeline.betweenCalls();
        QCOMPARE(between.minimum, 2.0);
        QCOMPARE(between.median, 2.5);
        QCOMPARE(between.maximum, 3.0);
    }

    void countsOnlyTheFirstDeliveryOfPaymentsWithBothCalls()
    {
        PaymentTimeline timeline;
        timeline.paymentAppeared(QStringLiteral("b1"), 0);
        timeline.paymentAppeared(QStringLiteral("b2"), 0);
        // A refused payment is called again at the next scans.
        for (double at : {1.0, 4.0, 20.0, 23.0})
            timeline.shopCalled(QStringLiteral("b1"), at);
        // Still waiting for its second call.
        timeline.shopCalled(QStringLiteral("b2"), 2);
        // Appearing twice does not move the start.
        timeline.paymentAppeared(QStringLiteral("b1"), 9);

        QCOMPARE(timeline.appeared(), 2);
        QCOMPARE(timeline.delivered(), 1);
        QCOMPARE(timeline.toSecondCall().count, 1);
        QCOMPARE(timeline.toSecondCall().maximum, 4.0);
        QCOMPARE(timeline.betweenCalls().median, 3.0);
    }

    void reportsNothingBeforeAnyDelivery()
    {
        PaymentTimeline timeline;
        QCOMPARE(timeline.toFirstCall().count, 0);
        timeline.paymentAppeared(QStringLiteral("b1"), 0);
        QCOMPARE(timeline.delivered(), 0);
        QCOMPARE(timeline.betweenCalls().count, 0);
    }
};

TOLLWICK_TEST(PaymentTimelineTest)
#include "PaymentTimelineTest.moc"
