#pragma once

#include <QIcon>

// The window's icon, 48 × 48, drawn rather than shipped as a file.
QIcon appIcon();
