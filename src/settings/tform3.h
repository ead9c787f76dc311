#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class TRzColorEdit;
class TRzSpinner;

// The settings dialog. (Placeholder body: the controls the main screen's set-up fills; the
// layout and save/cancel come with the dialog's own work.)
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;
    TRzSpinner* RzSpinner1 = nullptr;
    TRzSpinner* RzSpinner2 = nullptr;
    TRzSpinner* RzSpinner3 = nullptr;
    TRzSpinner* RzSpinner4 = nullptr;
    TRzSpinner* RzSpinner5 = nullptr;
    TRzSpinner* RzSpinner6 = nullptr;
    TRzSpinner* RzSpinner7 = nullptr;
    TRzColorEdit* RzColorEdit1 = nullptr;
    TRzColorEdit* RzColorEdit2 = nullptr;
    TRzColorEdit* RzColorEdit3 = nullptr;
    TRzColorEdit* RzColorEdit4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
};
