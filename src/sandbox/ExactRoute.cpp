#include "sandbox/ExactRoute.h"

#include <QRegularExpression>

QString exactRoute(const QString& path)
{
    return QRegularExpression::escape(path);
}
