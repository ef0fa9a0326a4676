// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/TextBox.h"

TextBox::TextBox(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The boxes only the program writes are disabled; but the owner reads them
    // all day, so their text keeps the colour of enabled text rather than the
    // faint one of a disabled control.
    QPalette colours = palette();
    colours.setColor(QPalette::Disabled, QPalette::Text,
                     colours.color(QPalette::Active, QPalette::Text));
    setPalette(colours);
}
