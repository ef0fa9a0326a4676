#pragma once

#include <QIcon>
#include <QImage>

#include <array>

// The sizes of the program's icon in an icon theme and on the window.
inline constexpr std::array AppIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon, `side` pixels square. It is drawn rather than shipped,
// so the window and the installed theme icons come from this one drawing.
QImage appIconImage(int side);

// The window's icon, at every size of AppIconSizes.
QIcon appIcon();

// The same with a dot of `colour` in its corner, for the tray.
QIcon statusIcon(const QColor& colour);
