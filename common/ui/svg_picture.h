#pragma once

#include <QSvgRenderer>

#include "click_label.h"

namespace taliven {

// A picture drawn from an SVG resource, stretched over the whole control
// and sharp at any scale. Clickable like any ClickLabel.
class SvgPicture : public ClickLabel {
  Q_OBJECT
 public:
  explicit SvgPicture(const QString& resource, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSvgRenderer renderer_;
};

}  // namespace taliven
