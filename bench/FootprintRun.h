// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "PaymentTimeline.h"
#include "ProcessFootprint.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <optional>

struct FootprintOptions {
    QString sandbox;
    // Of scanning, counted from the first scan.
    int seconds = 180;
    int interval = 2;
    int records = 12;
    // Each new payment makes the program call the shop again for every older
    // record it reads, about 3 s each: 12 records keep a scan busy for over
    // 30 s, and payments coming faster would wait behind one another.
    int paymentEvery = 45;
    // Payments that arrive together each period.
    int burst = 1;
    // Passed on to the sandbox when set: its browser's idle time.
    std::optional<int> browserSleep;
};

// Runs the sandbox headless, adds payments while it scans, samples the
// program's processes from /proc and prints what it found.
class FootprintRun : public QObject {
    Q_OBJECT

public:
    FootprintRun(FootprintOptions options, QTextStream& out);
    ~FootprintRun() override;

    // Starts the sandbox; the event loop then runs until finished() with
    // the exit status for the bench.
    void start();

Q_SIGNALS:
    void finished(int status);

private:
    struct Sample {
        double at = 0;
        int ticks = 0;
        QList<ProcessFootprint> processes;
    };

    double now() const;
    void readLines();
    void onLine(const QByteArray& line);
    void onScanningStarted();
    void addPayments();
    void addPayment();
    void takeSample();
    void finish();
    void expireSession();
    void onStatusAfterExpiry(const QString& status);
    void stop();
    void fail(const QString& why);
    void report();
    const Sample& sampleAtOrAfter(double at) const;

    FootprintOptions m_options;
    QTextStream& m_out;
    QProcess m_sandbox;
    QNetworkAccessManager m_network;
    QTemporaryDir m_journalFolder;
    QTimer m_sampleTimer;
    QTimer m_paymentTimer;
    QElapsedTimer m_clock;
    quint16 m_port = 0;
    // The sandbox's control token, from its first line.
    QByteArray m_token;
    QByteArray m_pending;
    double m_scanningSince = -1;
    int m_ticks = 0;
    int m_paymentsAdded = 0;
    PaymentTimeline m_timeline;
    QList<Sample> m_samples;
    // After the account ended the session: when the window said so and
    // when the browser showed the login form; below 0 until then.
    bool m_expired = false;
    double m_sessionLostAt = -1;
    double m_loginFormAt = -1;
    bool m_done = false;
};
