#include "settings/tform3.h"

#include "controls/rzcoloredit.h"
#include "controls/rzspinner.h"

#include <QCheckBox>
#include <QLineEdit>

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    Edit1 = new QLineEdit(this);
    for (TRzSpinner** s : {&RzSpinner1, &RzSpinner2, &RzSpinner3, &RzSpinner4, &RzSpinner5,
                           &RzSpinner6, &RzSpinner7})
        *s = new TRzSpinner(this);
    RzSpinner1->setMax(500);
    RzSpinner1->setValue(4);
    RzSpinner2->setMax(10000);
    for (TRzSpinner* s : {RzSpinner3, RzSpinner4, RzSpinner5})
        s->setMax(500);
    for (TRzSpinner* s : {RzSpinner6, RzSpinner7}) {
        s->setIncrement(10);
        s->setMax(2000);
    }
    for (TRzColorEdit** c : {&RzColorEdit1, &RzColorEdit2, &RzColorEdit3, &RzColorEdit4})
        *c = new TRzColorEdit(this);
    RzColorEdit1->setSelectedColor(clBlack);
    CheckBox1 = new QCheckBox(this);
    CheckBox3 = new QCheckBox(this);
    CheckBox4 = new QCheckBox(this);
}
