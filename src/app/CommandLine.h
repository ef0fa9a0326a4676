// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

#include <optional>

class QTextStream;

// The command line as text, read before any application object exists.
QStringList argumentsOf(int argc, char* argv[]);

// What `tollwick` answers on its command line without starting: --help and
// --version, and a word on anything it does not know. The exit status when it
// answered; nothing when the program is to start.
std::optional<int> answerCommandLine(const QStringList& arguments, QTextStream& out,
                                     QTextStream& errors);
