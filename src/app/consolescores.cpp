#include "app/consolescores.h"

#include "app/teams.h"
#include "app/tform1.h"
#include "platform/guard.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vq {

namespace {

// Smaller than the show's buttons: twelve teams share the console's width.
const QString kStyle = QStringLiteral(
    "QLabel { font-size: 24px; }"
    "QLabel#teamScore { color: #ffd000; }"
    // A shade of their own beside the show's row of commands, whose colour marks that row.
    "QPushButton { background: #3c4656; font-size: 24px; min-height: 40px; min-width: 44px; }"
    "QPushButton:pressed { background: #56667e; }"
    "QLineEdit { font-size: 22px; background: #0f1114; color: #ffffff; border: 1px solid #4a76aa;"
    "  max-width: 90px; }");

constexpr int kColumns = 3;

} // namespace

ConsoleScores::ConsoleScores(TForm1& form, QWidget* parent) : QWidget(parent), m_form(form) {
    setObjectName(QStringLiteral("consoleScores"));
    setStyleSheet(kStyle);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_grid = new QGridLayout;
    m_grid->setHorizontalSpacing(8);
    m_grid->setVerticalSpacing(4);
    outer->addLayout(m_grid);

    auto* row = new QHBoxLayout;
    const auto add = [&](const QString& text, auto&& action) {
        auto* b = new QPushButton(text, this);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [action] { guarded(action); });
        row->addWidget(b);
    };
    add(QStringLiteral("计分板"), [this] { m_form.run(ShowCommand::Scoreboard); });
    add(QStringLiteral("排名"), [this] { m_form.run(ShowCommand::Ranking); });
    add(QStringLiteral("撤销"), [this] { m_form.run(ShowCommand::UndoScore); });
    m_scoreButtons = findChildren<QPushButton*>();
    row->addStretch(1);
    // Always there: teams can be set up from the console where none are yet.
    add(QStringLiteral("队伍设置"), [this] { m_form.teamsClick(); });
    outer->addLayout(row);

    connect(form.Scores, &Teams::changed, this, &ConsoleScores::follow);
    rebuild();
}

void ConsoleScores::rebuild() {
    for (const Row& r : m_rows) {
        delete r.name;
        delete r.score;
        delete r.typed;
    }
    for (QPushButton* b : findChildren<QPushButton*>(QStringLiteral("teamButton")))
        delete b;
    m_rows.clear();
    const Teams& teams = *m_form.Scores;
    for (int i = 0; i < teams.count(); ++i) {
        Row r;
        r.name = new QLabel(this);
        r.name->setTextFormat(Qt::PlainText);
        r.name->setMaximumWidth(180);
        r.score = new QLabel(this);
        r.score->setObjectName(QStringLiteral("teamScore"));
        r.score->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        r.typed = new QLineEdit(this);
        r.typed->setObjectName(QStringLiteral("typedScore"));
        r.typed->setPlaceholderText(QStringLiteral("改为"));
        r.typed->setValidator(new QIntValidator(r.typed));
        r.typed->setFocusPolicy(Qt::ClickFocus);
        connect(r.typed, &QLineEdit::returnPressed, this,
                [this, i] { guarded([&] { correct(i); }); });
        const int col = (i % kColumns) * 5;
        const int line = i / kColumns;
        m_grid->addWidget(r.name, line, col);
        m_grid->addWidget(r.score, line, col + 1);
        for (const int direction : {1, -1}) {
            auto* b =
                new QPushButton(direction > 0 ? QStringLiteral("+") : QStringLiteral("−"), this);
            b->setObjectName(QStringLiteral("teamButton"));
            b->setFocusPolicy(Qt::NoFocus);
            connect(b, &QPushButton::clicked, this,
                    [this, i, direction] { guarded([&] { m_form.scoreStep(i, direction); }); });
            m_grid->addWidget(b, line, col + (direction > 0 ? 2 : 3));
        }
        m_grid->addWidget(r.typed, line, col + 4);
        m_rows.append(r);
    }
    for (QPushButton* b : m_scoreButtons)
        b->setVisible(teams.any());
    showScores();
}

void ConsoleScores::follow(const ScoreChange& change) {
    if (change.kind == ScoreChangeKind::Teams)
        rebuild();
    else
        showScores();
}

void ConsoleScores::showScores() {
    const Teams& teams = *m_form.Scores;
    for (int i = 0; i < m_rows.size(); ++i) {
        m_rows[i].name->setText(
            m_rows[i].name->fontMetrics().elidedText(teams.name(i), Qt::ElideRight, 180));
        m_rows[i].name->setToolTip(teams.name(i));
        m_rows[i].score->setText(QString::number(teams.score(i)));
    }
}

// The typed score is set; the field empties and the keys are the show's again.
void ConsoleScores::correct(int team) {
    QLineEdit* typed = m_rows.value(team).typed;
    if (!typed)
        return;
    bool ok = false;
    const int value = typed->text().toInt(&ok);
    typed->clear();
    if (parentWidget())
        parentWidget()->setFocus();
    if (ok)
        m_form.correctScore(team, value);
}

} // namespace vq
