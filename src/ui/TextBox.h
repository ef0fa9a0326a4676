// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPlainTextEdit>

// A multi-line box the program writes and the owner only reads: no scroll
// bars, wrapped lines, and readable although disabled.
class TextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);
};
