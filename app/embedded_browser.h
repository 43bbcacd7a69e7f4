#pragma once
// The seam between the program and its web engine, which lives in a module
// of its own: the program starts without loading the engine, and loads it
// only when a content pane is to show pages.

#include <QUrl>
#include <QWidget>

namespace taliven {

// The only pages the panes go to, whoever asks: http or https, on a host.
inline bool IsWebPage(const QUrl& url) {
  const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
  return url.isValid() && web && !url.host().isEmpty();
}

class EmbeddedBrowser : public QWidget {
 public:
  using QWidget::QWidget;
  // Loads an http or https page; any other address is refused and ignored.
  virtual void Load(const QUrl& url) = 0;
  // Loads the last page again if its renderer died (it ran out of memory, or
  // was killed), so that the pane does not stay blank.
  virtual void ReloadIfGone() = 0;
};

// The module's entry points.
// Creates a locked-down browser on `parent`.
using CreateEmbeddedBrowserFunction = EmbeddedBrowser* (*)(QWidget* parent);
inline constexpr char kCreateEmbeddedBrowserSymbol[] = "taliven_create_embedded_browser";
// Readies `window` to hold browsers; to be called before it is first shown.
using PrepareWindowFunction = void (*)(QWidget* window);
inline constexpr char kPrepareWindowSymbol[] = "taliven_prepare_window";
// Removes the files the engine keeps while it runs, for a program that ends
// without letting the engine go in order.
using RemoveEngineFilesFunction = void (*)();
inline constexpr char kRemoveEngineFilesSymbol[] = "taliven_remove_engine_files";

}  // namespace taliven
