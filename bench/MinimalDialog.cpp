// The reference for start-up measurements: a Qt dialog with the same controls as
// Quorvane's window that does nothing at all.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/FirstPaintProbe.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  InstallFirstPaintProbe();  // the same probe as the program's, for the benchmark
  QDialog dialog;
  dialog.setWindowTitle("Minimal dialog");
  auto* urlLabel = new QLabel("&URL:", &dialog);
  auto* url = new QLineEdit(&dialog);
  auto* sizeLabel = new QLabel("&Size:", &dialog);
  auto* size = new QLineEdit(&dialog);
  auto* topmost = new QCheckBox("&Always on top", &dialog);
  auto* status = new QLineEdit(&dialog);
  QPushButton* buttons[] = {new QPushButton(&dialog), new QPushButton(&dialog), new QPushButton(&dialog)};
  urlLabel->setGeometry(10, 10, 30, 20);
  url->setGeometry(45, 10, 250, 22);
  sizeLabel->setGeometry(10, 45, 50, 20);
  size->setGeometry(65, 45, 90, 22);
  topmost->setGeometry(160, 45, 130, 22);
  status->setGeometry(10, 80, 285, 22);
  for (int i = 0; i < 3; ++i) buttons[i]->setGeometry(300, 10 + 35 * i, 28, 28);
  dialog.setFixedSize(340, 115);
  return dialog.exec();
}
