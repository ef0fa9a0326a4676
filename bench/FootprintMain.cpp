// SPDX-License-Identifier: GPL-3.0-or-later

#include "FootprintRun.h"

#include <QCommandLineParser>
#include <QCoreApplication>

// Memory, descriptors, threads and processor time of the whole program while
// it scans, to rerun by hand: tollwick-footprint [seconds] [options].
int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs tollwick-sandbox headless while payments arrive and prints the "
                       "footprint of its processes."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("seconds"),
                                 QStringLiteral("How long to scan (default 180)."));
    const QCommandLineOption sandbox(QStringLiteral("sandbox"),
                                     QStringLiteral("The sandbox executable to measure."),
                                     QStringLiteral("PATH"), QStringLiteral(TOLLWICK_SANDBOX));
    const QCommandLineOption interval(QStringLiteral("interval"),
                                      QStringLiteral("Scan interval in seconds (default 2)."),
                                      QStringLiteral("SECONDS"), QStringLiteral("2"));
    const QCommandLineOption every(QStringLiteral("payment-every"),
                                   QStringLiteral("Seconds between new payments (default 45)."),
                                   QStringLiteral("SECONDS"), QStringLiteral("45"));
    const QCommandLineOption records(QStringLiteral("records"),
                                     QStringLiteral("Records each scan reads (default 12)."),
                                     QStringLiteral("N"), QStringLiteral("12"));
    const QCommandLineOption burst(
        QStringLiteral("burst"),
        QStringLiteral("Payments that arrive together each period (default 1)."),
        QStringLiteral("K"), QStringLiteral("1"));
    const QCommandLineOption browserSleep(
        QStringLiteral("browser-sleep"),
        QStringLiteral(
            "Passed on to the sandbox: its browser's idle time (default: the sandbox's)."),
        QStringLiteral("SECONDS"));
    parser.addOptions({sandbox, interval, every, records, burst, browserSleep});
    parser.process(application);

    FootprintOptions options;
    options.sandbox = parser.value(sandbox);
    options.seconds = parser.positionalArguments().value(0, QStringLiteral("180")).toInt();
    options.interval = parser.value(interval).toInt();
    options.paymentEvery = parser.value(every).toInt();
    options.records = parser.value(records).toInt();
    options.burst = parser.value(burst).toInt();
    if (parser.isSet(browserSleep))
        options.browserSleep = parser.value(browserSleep).toInt();
    if (options.seconds < 90 || options.interval < 1 || options.paymentEvery < 1 ||
        options.records < 1 || options.records > 12 || options.burst < 1) {
        qCritical("tollwick-footprint: at least 90 seconds, an interval and a payment period "
                  "of at least 1 second, 1 to 12 records and bursts of at least 1");
        return 2;
    }

    QTextStream out(stdout);
    FootprintRun run(options, out);
    QObject::connect(&run, &FootprintRun::finished, &application, &QCoreApplication::exit);
    run.start();
    return application.exec();
}
