#include "ui/TextBox.h"

TextBox::TextBox(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TextBox::setText(const QString& text)
{
    // Waits write the same status on every pass; only real changes count.
    if (text == m_text)
        return;
    m_text = text;
    setPlainText(text);
    Q_EMIT textReplaced(text);
}
