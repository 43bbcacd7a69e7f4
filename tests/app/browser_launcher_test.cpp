#include "browser_launcher.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace taliven {
namespace {

TEST(BrowserCommand, DefaultBrowserThenBrowserThenXdgOpen) {
  struct Case {
    const char* defaultBrowser;  // nullptr: unset
    const char* browser;
    QStringList command;
  };
  const Case cases[] = {
      {nullptr, nullptr, {"xdg-open"}},
      {"", "", {"xdg-open"}},
      {nullptr, "firefox", {"firefox"}},
      {"chromium", nullptr, {"chromium"}},
      {"chromium", "firefox", {"chromium"}},
      {"", "firefox --new-window", {"firefox", "--new-window"}},
      {"\"/opt/my browser/run\" -p", nullptr, {"/opt/my browser/run", "-p"}},
  };
  for (const Case& c : cases) {
    QProcessEnvironment environment;
    if (c.defaultBrowser) environment.insert("DEFAULT_BROWSER", c.defaultBrowser);
    if (c.browser) environment.insert("BROWSER", c.browser);
    EXPECT_EQ(BrowserCommand(environment), c.command)
        << (c.defaultBrowser ? c.defaultBrowser : "-") << " / " << (c.browser ? c.browser : "-");
  }
}

// The real launch: the browser named at start gets the page, and the
// environment as it was at start, not as the program changed it since.
TEST(DesktopBrowserLauncher, StartsTheBrowserNamedAtStartInTheStartEnvironment) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString browser = folder.filePath("browser");
  const QString record = folder.filePath("record");
  QFile script(browser);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(
      QStringLiteral("#!/bin/sh\n{ echo \"$1\"; env; } >'%1.part' && mv '%1.part' '%1'\n").arg(record).toUtf8());
  script.close();
  script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

  qunsetenv("DEFAULT_BROWSER");
  qputenv("BROWSER", browser.toUtf8());
  KeepStartEnvironment();
  qputenv("BROWSER", "/nonexistent/browser");
  qputenv("TALIVEN_SET_LATER", "1");
  DesktopBrowserLauncher().Open("http://www.example.com/a?b=1&c=2");

  QElapsedTimer clock;
  clock.start();
  while (!QFile::exists(record) && clock.elapsed() < 5000) QThread::msleep(20);
  QFile recorded(record);
  ASSERT_TRUE(recorded.open(QIODevice::ReadOnly)) << "the browser was not started";
  const QStringList lines = QString::fromUtf8(recorded.readAll()).split('\n');
  EXPECT_EQ(lines.value(0), "http://www.example.com/a?b=1&c=2");
  EXPECT_TRUE(lines.contains("BROWSER=" + browser));
  EXPECT_FALSE(lines.contains("TALIVEN_SET_LATER=1"));
}

}  // namespace
}  // namespace taliven
