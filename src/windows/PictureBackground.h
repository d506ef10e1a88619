#pragma once

#include <QPixmap>
#include <QWidget>

namespace korvale {

// A client area with a picture drawn unscaled at its top-left corner, under its controls.
class PictureBackground final : public QWidget {
public:
    PictureBackground(const QPixmap& picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};

}  // namespace korvale
