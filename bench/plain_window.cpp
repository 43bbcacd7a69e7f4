// The floor for start-up measurements: an empty 800 x 600 Qt window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Plain"));
  window.setFixedSize(800, 600);
  window.show();
  return QApplication::exec();
}
