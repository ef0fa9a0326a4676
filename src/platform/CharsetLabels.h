// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The encoding a charset label names, as browsers read the labels of pages and
// servers (the WHATWG Encoding Standard's "get an encoding"): ASCII whitespace
// around the label is ignored, ASCII case does not matter. Gives the standard's
// name of the encoding, e.g. "gbk" for "GB2312"; empty when the label names none.
QString encodingForLabel(const QString& label);
