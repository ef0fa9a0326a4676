// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/CsvFile.h"

#include <QSaveFile>

namespace {

QString csvField(QString text)
{
    // Spreadsheets skip a leading tab or carriage return and run what follows.
    if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()))
        text.prepend(u'\'');
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

} // namespace

bool writeCsvFile(const QString& path, const QList<QStringList>& rows, QString& error)
{
    // The export replaces the file whole, never leaving half of it behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    // Before a byte is written: the new file takes its permissions from here.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        error = file.errorString();
        return false;
    }
    QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF");
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& field : row)
            fields.append(csvField(field));
        bytes += fields.join(u',').toUtf8() + "\r\n";
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
