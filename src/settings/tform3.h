#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TRzColorEdit;
class TRzSpinner;

// The settings dialog: edits 15 settings of opt.ini. It never reads the file; the main screen's
// set-up fills its controls once. Saving writes all 15 keys and ends the program, so that the
// new values apply at the next start; cancelling writes nothing and keeps the edits.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // Save: writes the 15 keys, reports success and ends the program; on any failure reports
    // "对不起，保存失败！" and stays open.
    void Button1Click();
    // Cancel: closes as cancelled, nothing written.
    void Button2Click();

    // True once a save succeeded and the program is on its way out, so that the main screen
    // can tell that ending from the operator leaving through its exit question.
    bool programEnding() const { return m_programEnding; }

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QFrame* Panel1 = nullptr;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* RzLabel1 = nullptr;

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
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createTitleControls();
    void createCountdownControls();
    void createQuestionAndAnswerControls();
    void createWelcomeAndPositionControls();
    void save();

    bool m_programEnding = false;
};
