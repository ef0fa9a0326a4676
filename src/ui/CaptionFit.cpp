// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/CaptionFit.h"

#include <QFontInfo>
#include <QLabel>

namespace {

// Below this a simplified-Chinese caption is no longer readable.
constexpr int SmallestPixelSize = 9;

bool fits(const QLabel& label)
{
    const QRect box = label.contentsRect();
    if (label.wordWrap())
        return label.heightForWidth(label.width()) <= label.height();
    const QSize text = label.fontMetrics().size(Qt::TextSingleLine, label.text());
    return text.width() <= box.width() && text.height() <= box.height();
}

} // namespace

void fitCaption(QLabel& label)
{
    QFont font = label.font();
    int pixelSize = QFontInfo(font).pixelSize();
    while (!fits(label) && pixelSize > SmallestPixelSize) {
        font.setPixelSize(--pixelSize);
        label.setFont(font);
    }
}
