// SPDX-License-Identifier: GPL-3.0-or-later

#include "ParserThroughput.h"
#include "WaitCost.h"

#include <QApplication>
#include <QTextStream>

// Measurements to rerun by hand: tollwick-bench [wait seconds, default 10].
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int waitSeconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;

    QTextStream out(stdout);
    out << measureParserThroughput() << Qt::endl;
    out << measureWaitCost(waitSeconds > 0 ? waitSeconds : 10) << Qt::endl;
    return 0;
}
