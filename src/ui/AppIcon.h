// SPDX-License-Identifier: GPL-3.0-or-later

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

// The symbols the tray's icon carries, one for each state it shows, so that
// the states read without telling colours apart.
enum class StatusSymbol { Tick, Pause, Padlock, Exclamation };

// The program's coin with a badge of `colour` holding `symbol`, for the tray.
QIcon statusIcon(StatusSymbol symbol, const QColor& colour);
