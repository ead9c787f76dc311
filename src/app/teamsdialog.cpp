#include "app/teamsdialog.h"

#include "app/teams.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace vq {

TeamsDialog::TeamsDialog(const TeamSetup& setup, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("队伍设置"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("队名（留空的不参赛）："), this));
    // Two columns of six: teams 1 to 6, then 7 to 12.
    auto* grid = new QGridLayout;
    for (int i = 0; i < Teams::kMaxTeams; ++i) {
        auto* name = new QLineEdit(setup.names.value(i), this);
        name->setMaxLength(kMaxNameLength);
        name->setObjectName(QStringLiteral("duiwu%1").arg(i + 1));
        m_names << name;
        const int column = (i / 6) * 2;
        grid->addWidget(new QLabel(QStringLiteral("第 %1 队").arg(i + 1), this), i % 6, column);
        grid->addWidget(name, i % 6, column + 1);
    }
    layout->addLayout(grid);

    auto* form = new QFormLayout;
    m_start = new QSpinBox(this);
    m_start->setRange(-999999, 999999);
    m_start->setValue(setup.startScore);
    m_step = new QSpinBox(this);
    m_step->setRange(1, 999999);
    m_step->setValue(setup.step);
    form->addRow(QStringLiteral("初始分数："), m_start);
    form->addRow(QStringLiteral("每次加减："), m_step);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

TeamSetup TeamsDialog::setup() const {
    TeamSetup out;
    for (const QLineEdit* name : m_names)
        out.names << name->text().trimmed();
    out.startScore = m_start->value();
    out.step = m_step->value();
    return out;
}

} // namespace vq
