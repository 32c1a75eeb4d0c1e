// The smallest Qt widget program: one empty window, shown; the floor for start-up time.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.show();
  return app.exec();
}
