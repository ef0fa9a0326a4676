// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Writes `rows` as a CSV file that spreadsheet programs open as it is: UTF-8
// with a byte order mark, every field quoted, and a field that a spreadsheet
// would run as a formula (=, +, -, @, a tab or a carriage return first) led
// by an apostrophe. Titles are typed by payers, so nothing of theirs may run
// as a formula. The file is the owner's only (0600). False, with `error`
// saying why, when it cannot be written.
bool writeCsvFile(const QString& path, const QList<QStringList>& rows, QString& error);
