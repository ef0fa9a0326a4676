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
    QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF");
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& field : row)
            fields.append(csvField(field));
        bytes += fields.join(u',').toUtf8() + "\r\n";
    }
    // The export replaces the file whole, never leaving half of it behind.
    QSaveFile file(path);
    // The permissions are set before a byte is written: the new file takes
    // them from here.
    if (file.open(QIODevice::WriteOnly) &&
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
        file.write(bytes) == bytes.size() && file.commit())
        return true;
    error = file.errorString();
    return false;
}
