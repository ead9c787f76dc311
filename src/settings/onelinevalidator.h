#pragma once

#include <QValidator>

namespace vq {

// Keeps a one-line text edit on one line. A line edit takes a pasted or dropped line break into
// its text and shows it as a blank, so the text would go on holding the break while the operator
// sees a blank. Here every line break becomes one blank (CR LF is one break), and so does every
// other character the edit shows as a blank, so that the text is exactly what the edit shows.
class OneLineValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
};

} // namespace vq
