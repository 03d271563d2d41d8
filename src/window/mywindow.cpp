#include "mywindow.h"

MyWindow::MyWindow(QWidget *parent) : QMainWindow(parent) {}
