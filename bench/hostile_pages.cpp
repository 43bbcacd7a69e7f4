// What hostile pages cost the machine, on the real web engine loaded as the
// program loads it: the priority of a busy page's renderer, how long that
// renderer lives on once the tick has replaced its page, and the program's
// own memory before, during and after a page that stores 512 MB, and its CPU
// and memory while a page as heavy to draw as an ad can make it shows and
// once it is replaced. Prints one JSON object. Run on an X display
// (bench/run_all.sh starts one).
// usage: hostile_pages [RUNS]
#include <httplib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "embedded_browser.h"
#include "session_bus.h"

namespace {

using taliven::EmbeddedBrowser;

// The program's resident memory now, in MB.
double ResidentMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
  }
  return 0;
}

// The CPU time the program has used so far, in seconds.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The share of a core the program uses over the next `ms` milliseconds, in %.
double CpuPercentOver(int ms) {
  const double before = CpuSeconds();
  QElapsedTimer clock;
  clock.start();
  QTest::qWait(ms);
  return (CpuSeconds() - before) * 100'000 / static_cast<double>(clock.elapsed());
}

// A file's text.
std::string Text(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
  return file.readAll().toStdString();
}

// The pages, on a loopback server of their own.
class Pages {
 public:
  Pages() {
    server_.Get("/heavy", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(Text(QStringLiteral(TALIVEN_HEAVY_PAGE)), "text/html");
    });
    server_.Get("/busy", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>busy</title><script>setTimeout(() => { for (;;) {} }, 100);</script>",
                      "text/html");
    });
    // Console lines without end: from the page, from a frame of its own,
    // and as errors it leaves uncaught; then the same from a worker.
    server_.Get("/console", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>console</title><script>const line = 'x'.repeat(200);"
          "const frame = document.createElement('iframe'); document.documentElement.appendChild(frame);"
          "const talk = () => { for (let i = 0; i < 500; i++) { console.log(line + i);"
          " frame.contentWindow.console.error(line); } setTimeout(() => { throw new Error(line); }, 0);"
          " setTimeout(talk, 0); }; talk();</script>",
          "text/html");
    });
    server_.Get("/console-worker", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>console-worker</title><script>new Worker(URL.createObjectURL(new Blob(["
          "\"const line = 'x'.repeat(200); const talk = () => { for (let i = 0; i < 500; i++) console.log(line + i);"
          " setTimeout(talk, 0); }; talk();\"])));</script>",
          "text/html");
    });
    server_.Get("/plain", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<!DOCTYPE html><title>plain</title><p>plain</p>", "text/html");
    });
    // 512 blocks of 1 MB into the page's database, then its title says so.
    server_.Get("/hoard", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<!DOCTYPE html><title>hoarding</title><script>"
          "const open = indexedDB.open('hoard', 1);"
          "open.onupgradeneeded = () => open.result.createObjectStore('s');"
          "open.onsuccess = async () => { for (let i = 0; i < 512; i++) { await new Promise((done) => {"
          " const t = open.result.transaction('s', 'readwrite');"
          " const block = new Uint8Array(1 << 20); block.fill(i & 255);"
          " t.objectStore('s').put(block, i); t.oncomplete = done; }); }"
          " document.title = 'hoarded'; };</script>",
          "text/html");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~Pages() {
    server_.stop();
    thread_.join();
  }
  QUrl Url(const char* path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path)); }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

class Browser {
 public:
  Browser() {
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/../app/taliven_webengine"));
    const auto create =
        reinterpret_cast<taliven::CreateEmbeddedBrowserFunction>(module.resolve(taliven::kCreateEmbeddedBrowserSymbol));
    if (!create) qFatal("no web engine module: %s", qPrintable(module.errorString()));
    window_.resize(640, 480);
    browser_ = create(&window_);
    browser_->setGeometry(window_.rect());
    window_.show();
  }
  EmbeddedBrowser& Get() { return *browser_; }
  QString Title() { return View()->property("title").toString(); }
  qint64 RendererPid() {
    QObject* page = nullptr;
    for (QObject* child : browser_->findChildren<QObject*>()) {
      if (child->inherits("QWebEnginePage")) page = child;
    }
    return page ? page->property("renderProcessPid").toLongLong() : 0;
  }
  bool Show(const QUrl& url, const QString& title, int limitMs = 15'000) {
    browser_->Load(url);
    return QTest::qWaitFor([&] { return Title() == title; }, limitMs);
  }

 private:
  QWidget* View() {
    for (QWidget* child : browser_->findChildren<QWidget*>()) {
      if (qstrcmp(child->metaObject()->className(), "QWebEngineView") == 0) return child;
    }
    return nullptr;
  }

  QWidget window_;
  EmbeddedBrowser* browser_ = nullptr;
};

// The highest priority (lowest nice value) among the threads of `pid`.
int HighestPriority(qint64 pid) {
  int nice = 19;
  for (const QString& thread :
       QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    errno = 0;
    const int value = getpriority(PRIO_PROCESS, thread.toUInt());
    if (errno == 0) nice = std::min(nice, value);
  }
  return nice;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  QTemporaryDir home;
  qputenv("HOME", home.path().toLocal8Bit());
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  taliven::UseOnlyARunningSessionBus();
  QApplication app(argc, argv);
  Pages pages;
  Browser browser;

  // A busy page's renderer, and its life after the tick.
  std::vector<double> nices, lifetimesMs;
  for (int run = 0; run < runs; ++run) {
    if (!browser.Show(pages.Url("/busy"), QStringLiteral("busy"))) qFatal("the busy page did not show");
    const qint64 busy = browser.RendererPid();
    QTest::qWait(600);
    nices.push_back(HighestPriority(busy));
    QElapsedTimer sinceTick;
    sinceTick.start();
    browser.Get().Load(pages.Url("/plain"));
    if (!QTest::qWaitFor([&] { return kill(static_cast<pid_t>(busy), 0) != 0; }, 10'000))
      std::fprintf(stderr, "hostile_pages: a busy renderer outlived its tick by 10 s\n");
    lifetimesMs.push_back(static_cast<double>(sinceTick.elapsed()));
  }

  // The program's memory around a page that stores 512 MB.
  if (!browser.Show(pages.Url("/plain"), QStringLiteral("plain"))) qFatal("the plain page did not show");
  QTest::qWait(2000);
  const double before = ResidentMb();
  if (!browser.Show(pages.Url("/hoard"), QStringLiteral("hoarded"), 120'000))
    qFatal("the hoarding page did not finish");
  const double during = ResidentMb();
  browser.Show(pages.Url("/plain"), QStringLiteral("plain"));
  QTest::qWait(5000);
  const double after = ResidentMb();

  // The program's own CPU while a page writes to its console without end.
  if (!browser.Show(pages.Url("/console"), QStringLiteral("console"))) qFatal("the console page did not show");
  const double consoleCpu = CpuPercentOver(5000);
  if (!browser.Show(pages.Url("/console-worker"), QStringLiteral("console-worker")))
    qFatal("the worker's console page did not show");
  const double workerConsoleCpu = CpuPercentOver(5000);
  browser.Show(pages.Url("/plain"), QStringLiteral("plain"));
  QTest::qWait(1000);

  // The program's own CPU and memory around a page as heavy to draw as an
  // ad can make it.
  const double heavyBefore = ResidentMb();
  const double idleCpu = CpuPercentOver(5000);
  if (!browser.Show(pages.Url("/heavy"), QStringLiteral("heavy"))) qFatal("the heavy page did not show");
  QTest::qWait(2000);
  const double heavyCpu = CpuPercentOver(10'000);
  const double heavyRss = ResidentMb();
  browser.Show(pages.Url("/plain"), QStringLiteral("plain"));
  const double afterHeavyFirstSecondCpu = CpuPercentOver(1000);
  const double afterHeavyCpu = CpuPercentOver(9000);
  const double afterHeavyRss = ResidentMb();

  std::printf(
      "{\"runs\":%d,\"renderer_nice\":%.0f,\"busy_renderer_lifetime_ms\":%.0f,"
      "\"rss_before_mb\":%.1f,\"rss_with_hoard_mb\":%.1f,\"rss_after_mb\":%.1f,"
      "\"console_cpu_percent\":%.1f,\"worker_console_cpu_percent\":%.1f,"
      "\"idle_cpu_percent\":%.1f,\"rss_before_heavy_mb\":%.1f,\"heavy_cpu_percent\":%.1f,\"rss_with_heavy_mb\":%.1f,"
      "\"after_heavy_first_second_cpu_percent\":%.1f,\"after_heavy_cpu_percent\":%.1f,\"rss_after_heavy_mb\":%.1f}\n",
      runs, Median(nices), Median(lifetimesMs), before, during, after, consoleCpu, workerConsoleCpu, idleCpu,
      heavyBefore, heavyCpu, heavyRss, afterHeavyFirstSecondCpu, afterHeavyCpu, afterHeavyRss);
  return 0;
}
