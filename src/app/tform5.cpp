#include "app/tform5.h"

TForm5::TForm5(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {}
