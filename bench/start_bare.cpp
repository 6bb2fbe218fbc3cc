// The bare yardsticks, built with the same toolkit and flags as the programs.
// "window": a plain Qt window of the same size, ending at its first activation, printing its
// resident memory then. "exit": the program linked as quolt_autenticador is, ending at once.
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/resident.h"
#include "platform/qt/qt_app.h"

namespace {

class Bare : public QWidget {
 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WindowActivate) {
      std::fprintf(stderr, "rss_kb %ld\n", residentKb());
      QApplication::quit();
    }
    return QWidget::event(e);
  }
};

}  // namespace

// Keeps the whole link of the program: the same libraries are loaded at start.
int (*volatile keepLinked)(int, char**, const core::ProgramDefinition&) = &qtui::runProgram;

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "exit") == 0) return 0;
  QApplication app(argc, argv);
  Bare window;
  window.resize(605, 233);
  window.show();
  window.activateWindow();
  return app.exec();
}
