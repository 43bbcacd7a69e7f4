#include "svg_picture.h"

#include <QPainter>

namespace taliven {

SvgPicture::SvgPicture(const QString& resource, QWidget* parent)
    : ClickLabel(parent), renderer_(resource) {
  renderer_.setAspectRatioMode(Qt::IgnoreAspectRatio);
}

void SvgPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer_.render(&painter, QRectF(rect()));
}

}  // namespace taliven
