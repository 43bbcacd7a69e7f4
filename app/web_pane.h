#pragma once
// The two remote content panes of the main window. The window only ever
// navigates a pane or hides it; how a page is shown stays behind this class.

#include <QString>
#include <QWidget>

class QWebEngineView;

namespace taliven {

class WebPane : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  // Starts loading the page and returns at once. Throws when the address
  // cannot be shown (a scheme other than http or https).
  virtual void Navigate(const QString& url) = 0;
};

// A locked-down embedded browser. Until its first navigation it is an empty
// white area and no browser engine is started.
class WebEnginePane final : public WebPane {
  Q_OBJECT
 public:
  explicit WebEnginePane(QWidget* parent = nullptr);
  ~WebEnginePane() override;
  void Navigate(const QString& url) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWebEngineView* createView();

  QWebEngineView* view_ = nullptr;
};

}  // namespace taliven
