#pragma once
// Doubles for the main window's platform boundaries: a browser that records,
// HTTP clients that answer from a script, panes that record navigations.

#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "http_client.h"
#include "main_window.h"
#include "recording_browser.h"
#include "web_pane.h"

namespace taliven::testing {

// Answers GETs in order from a script; a missing or empty answer fails.
class ScriptedHttp final : public HttpClient {
 public:
  explicit ScriptedHttp(std::vector<std::optional<GbkText>> answers = {}) : answers_(std::move(answers)) {}
  GbkText Get(const std::string& url, std::int64_t) override {
    requested.push_back(url);
    const size_t i = requested.size() - 1;
    if (i >= answers_.size() || !answers_[i]) throw HttpError("GET " + url + ": unreachable");
    return *answers_[i];
  }
  // The scripted server stands on this machine, as the tests' servers do.
  std::string PeerAddress() const override { return peerAddress; }
  std::vector<std::string> requested;
  std::string peerAddress = "127.0.0.1";

 private:
  std::vector<std::optional<GbkText>> answers_;
};

class RecordingPane final : public WebPane {
 public:
  using WebPane::WebPane;
  void Navigate(const QUrl& url) override { navigated.append(url.toString()); }
  void PrepareWindow() override {
    ++preparations;
    preparedOnScreen = window()->isVisible();
  }
  void RetryIfGone() override { ++retries; }
  QStringList navigated;
  int retries = 0;
  int preparations = 0;
  bool preparedOnScreen = false;  // the window was shown already
};

// What a test keeps a hold of after handing the services to the window.
struct MainWindowDoubles {
  RecordingBrowser* browser = nullptr;
  ScriptedHttp* scheduleHttp = nullptr;
  ScriptedHttp* flagsHttp = nullptr;
};

// Services for a window whose vendor server answers with `schedule` and the
// two flags texts (nullopt: that request fails). By default it is unreachable.
inline MainWindowServices TestServices(MainWindowDoubles& doubles, std::optional<GbkText> schedule = std::nullopt,
                                       std::optional<GbkText> firstFlags = std::nullopt,
                                       std::optional<GbkText> secondFlags = std::nullopt) {
  MainWindowServices services;
  auto browser = std::make_unique<RecordingBrowser>();
  auto scheduleHttp = std::make_unique<ScriptedHttp>(std::vector<std::optional<GbkText>>{schedule});
  auto flagsHttp = std::make_unique<ScriptedHttp>(std::vector<std::optional<GbkText>>{firstFlags, secondFlags});
  doubles = {browser.get(), scheduleHttp.get(), flagsHttp.get()};
  services.browser = std::move(browser);
  services.scheduleHttp = std::move(scheduleHttp);
  services.flagsHttp = std::move(flagsHttp);
  services.createPane = [](QWidget* parent) -> WebPane* { return new RecordingPane(parent); };
  services.serverUrl = "http://vendor.test";
  return services;
}

}  // namespace taliven::testing
