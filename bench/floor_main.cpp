// The floor for start-up figures: the least a Qt Widgets window of the program's
// size costs on this machine. FirstPaintProbe.cpp reports its first frame.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QVBoxLayout>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Start-up floor");
  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  layout->addWidget(new QLabel("A plain Qt Widgets window"));
  layout->addWidget(new QLabel("600 x 400, two labels"));
  window.setCentralWidget(content);
  window.resize(600, 400);
  window.show();
  return app.exec();
}
