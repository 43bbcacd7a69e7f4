#include "svg_picture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace taliven {

SvgPicture::SvgPicture(const QString& resource, QWidget* parent) : ClickLabel(parent), resource_(resource) {}

SvgPicture::~SvgPicture() = default;

void SvgPicture::paintEvent(QPaintEvent*) {
  if (!renderer_) {
    renderer_ = std::make_unique<QSvgRenderer>(resource_);
    renderer_->setAspectRatioMode(Qt::IgnoreAspectRatio);
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer_->render(&painter, QRectF(rect()));
}

}  // namespace taliven
