#pragma once
// The two remote content panes of the main window. The window only ever
// navigates a pane or hides it; how a page is shown stays behind this class.

#include <QString>
#include <QUrl>
#include <QWidget>

namespace taliven {

class EmbeddedBrowser;

// Once the web engine has been loaded, ends the program with `status` at
// once, its files removed: as the application object goes, the engine would
// wait for whatever drawing a page left it, however long that takes. Returns
// when the engine was never loaded. Call it when the program is done.
void EndAtOnceIfTheWebEngineRan(int status);

// The page a schedule's URL text names, read as a browser's address bar
// reads it ("www.example.com/a.htm" is http://www.example.com/a.htm), or an
// empty URL when that is not an http or https page: a pane shows nothing else.
QUrl WebPageUrl(const QString& text);

class WebPane : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  // Starts loading the page and returns at once. Throws when the browser
  // cannot be started or refuses the page.
  virtual void Navigate(const QUrl& url) = 0;
  // Readies the pane's window for the pages to come; called before the
  // window is first shown, and only when the pane will show pages.
  virtual void PrepareWindow() = 0;
  // Shows the page it was last sent to again if that page died since.
  virtual void RetryIfGone() = 0;
};

// A locked-down embedded browser. Until its first navigation it is an empty
// white area: the web engine is loaded when its window is prepared, and its
// processes start with the first page.
class WebEnginePane final : public WebPane {
  Q_OBJECT
 public:
  explicit WebEnginePane(QWidget* parent = nullptr);
  void Navigate(const QUrl& url) override;
  void PrepareWindow() override;
  void RetryIfGone() override;

 private:
  EmbeddedBrowser* browser_ = nullptr;
};

}  // namespace taliven
