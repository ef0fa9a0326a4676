// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/AppIcon.h"

#include <QDir>
#include <QTextStream>

// Writes the program's icon in an icon theme's layout, for installing:
// tollwick-render-icons DIR gives DIR/hicolor/NxN/apps/tollwick.png.
int main(int argc, char* argv[])
{
    if (argc != 2) {
        QTextStream(stderr) << "usage: tollwick-render-icons DIR" << Qt::endl;
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int side : AppIconSizes) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(side);
        const QString path = dir + QStringLiteral("/tollwick.png");
        if (!QDir().mkpath(dir) || !appIconImage(side).save(path, "PNG")) {
            QTextStream(stderr) << "tollwick-render-icons: cannot write " << path << Qt::endl;
            return 1;
        }
    }
    return 0;
}
