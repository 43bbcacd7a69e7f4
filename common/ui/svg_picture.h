#pragma once

#include <QString>
#include <memory>

#include "click_label.h"

class QSvgRenderer;

namespace taliven {

// A picture drawn from an SVG resource, stretched over the whole control
// and sharp at any scale. Clickable like any ClickLabel. The picture is read
// when it is first painted, so a window maps without waiting for it.
class SvgPicture : public ClickLabel {
  Q_OBJECT
 public:
  explicit SvgPicture(const QString& resource, QWidget* parent = nullptr);
  ~SvgPicture() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString resource_;
  std::unique_ptr<QSvgRenderer> renderer_;
};

}  // namespace taliven
