// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/SleepPicture.h"

#include <QKeyEvent>
#include <QPainter>

SleepPicture::SleepPicture(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Keys typed into the page reach the picture once it stands in its place.
    setFocusPolicy(Qt::StrongFocus);
}

void SleepPicture::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void SleepPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), m_picture);
    // The line sits on a band dark enough to read on any page.
    const int bandHeight = fontMetrics().height() * 2;
    const QRect band(0, (height() - bandHeight) / 2, width(), bandHeight);
    painter.fillRect(band, QColor(0, 0, 0, 210));
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter, QStringLiteral("浏览器已休眠以节省内存，点击恢复"));
}

void SleepPicture::mousePressEvent(QMouseEvent*)
{
    Q_EMIT wakeRequested();
}

void SleepPicture::keyPressEvent(QKeyEvent*)
{
    Q_EMIT wakeRequested();
}
