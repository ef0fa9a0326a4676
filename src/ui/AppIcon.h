#pragma once

#include <QIcon>

// The window's icon, 48 × 48, drawn rather than shipped as a file.
QIcon appIcon();

// The same with a dot of `colour` in its corner, for the tray.
QIcon statusIcon(const QColor& colour);
