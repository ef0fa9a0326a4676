// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPlainTextEdit>

// A multi-line box of the window: no scroll bars, wrapped lines, and text
// that stays readable while the box is disabled (the boxes the program
// writes and the owner only reads).
class TextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);
};
