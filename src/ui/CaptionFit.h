// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QLabel;

// The layout was drawn for SimSun. Where the machine substitutes a face with
// wider glyphs or taller lines, a caption is made smaller until it fits its
// fixed rectangle whole, rather than losing its last line.
void fitCaption(QLabel& label);
