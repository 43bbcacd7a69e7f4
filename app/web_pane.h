#pragma once
// The two remote content panes of the main window. The window only ever
// navigates a pane or hides it; how a page is shown stays behind this class.

#include <QString>
#include <QWidget>

namespace taliven {

class EmbeddedBrowser;

class WebPane : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  // Starts loading the page and returns at once. Throws when the address
  // cannot be shown (a scheme other than http or https) or the browser
  // cannot be started.
  virtual void Navigate(const QString& url) = 0;
};

// A locked-down embedded browser. Until its first navigation it is an empty
// white area: the web engine is loaded, and its processes started, only then.
class WebEnginePane final : public WebPane {
  Q_OBJECT
 public:
  explicit WebEnginePane(QWidget* parent = nullptr);
  void Navigate(const QString& url) override;

 private:
  EmbeddedBrowser* browser_ = nullptr;
};

}  // namespace taliven
