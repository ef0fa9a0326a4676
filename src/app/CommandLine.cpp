// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QTextStream>

std::optional<int> answerCommandLine(const QStringList& arguments, QTextStream& out,
                                     QTextStream& errors)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("显示这些说明。Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("显示版本。Show the version."));
    parser.addOptions({help, version});
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString problem = parser.errorText().isEmpty()
                                    ? QStringLiteral("unexpected argument \"%1\"")
                                          .arg(parser.positionalArguments().constFirst())
                                    : parser.errorText();
        errors << "tollwick: " << problem << "\n"
               << QStringLiteral("用法见 tollwick --help。See tollwick --help.") << Qt::endl;
        return 2;
    }
    if (parser.isSet(version)) {
        out << "tollwick " TOLLWICK_VERSION << Qt::endl;
        return 0;
    }
    if (parser.isSet(help)) {
        // Qt's own usage line needs an application object, which is not made
        // for this.
        out << QStringLiteral(
                   "Usage: tollwick [options]\n"
                   "Tollwick 在内置浏览器中登录支付宝个人账户，\n"
                   "按设定的间隔读取收款记录，\n"
                   "每笔新付款都调用网店的自动发货网址。\n"
                   "Tollwick logs into a personal Alipay account in its own browser, reads "
                   "the account's incoming payments at an interval and calls the shop's "
                   "delivery URL for every new payment.\n")
            << parser.helpText().section(u'\n', 1) << Qt::flush;
        return 0;
    }
    return std::nullopt;
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}
