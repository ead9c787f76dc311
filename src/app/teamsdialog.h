#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;
class QSpinBox;

namespace vq {

// What the 队伍设置 dialog gives back: the teams' names (empty ones are no team), their start
// score and the step a key or a console button adds or takes.
struct TeamSetup {
    QStringList names;
    int startScore = 0;
    int step = 0;
    friend bool operator==(const TeamSetup&, const TeamSetup&) = default;
};

// The small 队伍设置 dialog: up to twelve team names, the start score and the step. It edits
// only what it is given and hands back what was typed; the caller writes it and sets the teams
// up.
class TeamsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxNameLength = 40;

    explicit TeamsDialog(const TeamSetup& setup, QWidget* parent = nullptr);

    TeamSetup setup() const;
    QLineEdit* nameField(int team) const { return m_names.value(team); }
    QSpinBox* startScoreField() const { return m_start; }
    QSpinBox* stepField() const { return m_step; }

private:
    QList<QLineEdit*> m_names;
    QSpinBox* m_start = nullptr;
    QSpinBox* m_step = nullptr;
};

} // namespace vq
