#pragma once

#include <QWidget>

// The welcome screen. (Placeholder body until the welcome-screen work lands: set-up shows it
// with show(), which must not wait.)
class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};
