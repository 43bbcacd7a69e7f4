// The floors for start-up measurements: an empty 800 x 600 Qt window. With
// --text it shows one line of Chinese in the toolkit's default font, which is
// what drawing any text costs. Built as plain_fetch_window, it first makes
// Taliven's start-up fetches from the vendor server, which is what the HTTP
// client costs (a separate program, so the others never load it). With both,
// it is the fair floor: what any program like Taliven must pay.
#include <cstring>

#include <QApplication>
#include <QLabel>
#include <QWidget>

#ifdef TALIVEN_PLAIN_FETCH
#include "content_schedule.h"
#include "endpoints.h"
#include "http_client.h"
#endif

int main(int argc, char** argv) {
  QApplication app(argc, argv);
#ifdef TALIVEN_PLAIN_FETCH
  taliven::CurlHttpClient scheduleHttp;
  taliven::CurlHttpClient flagsHttp;
  taliven::FetchRemoteContent(scheduleHttp, flagsHttp, taliven::VendorServerUrl);
#endif
  QWidget window;
  window.setWindowTitle(QStringLiteral("Plain"));
  window.setFixedSize(800, 600);
  if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
    (new QLabel(QStringLiteral("欢迎使用 Taliven：QQ号码测算、网名测算、万年历"), &window))->move(20, 20);
  }
  window.show();
  return QApplication::exec();
}
