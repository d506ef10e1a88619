#include "windows/PictureBackground.h"

#include <QPainter>

namespace korvale {

PictureBackground::PictureBackground(const QPixmap& picture, QWidget* parent)
    : QWidget(parent), m_picture(picture) {}

void PictureBackground::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

}  // namespace korvale
