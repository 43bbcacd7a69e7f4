#pragma once
// The about and customer-service windows: static contact information.

#include <QDialog>

namespace taliven {

class TAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TAbout(QWidget* parent = nullptr);
};

class TFrm_servers : public QDialog {
  Q_OBJECT
 public:
  explicit TFrm_servers(QWidget* parent = nullptr);

 private:
  void createRow(QWidget* panel, int top, const QString& icon, const QString& heading, const QString& text);
};

extern TAbout* About;
extern TFrm_servers* Frm_servers;

}  // namespace taliven
