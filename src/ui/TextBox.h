#pragma once

#include <QPlainTextEdit>

// A multi-line box whose text the program reads back as state. The editor
// turns CR LF into its own line breaks, so the exact text is kept here and
// the editor only shows it.
class TextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

Q_SIGNALS:
    void textReplaced(const QString& text);

private:
    QString m_text;
};
