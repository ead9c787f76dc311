#pragma once

#include "controls/packedlines.h"
#include "platform/linestore.h"

#include <QStringList>
#include <QWidget>

namespace vq {

// A multi-line text control that keeps its lines packed (see PackedLines). The main screen's
// pool store Memo1 is one: it is never shown, and the draws read, count and remove its lines
// one by one, which a text document would pay for with a layout block a line (and the time to
// build them at start), and one string of the whole text with a copy of all later lines at
// every removal. Its text always ends in a line break after its last line.
class TMemo final : public QWidget, public LineStore {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);

    // Every line followed by its line break; empty without lines.
    QString toPlainText() const;
    // Replaces the lines: the text is cut at each line break ("\n", "\r\n", "\r" or a
    // paragraph separator); the empty line after a final break is no line.
    void setPlainText(const QString& text);
    void clear();
    QStringList lines() const;

    int count() const override;
    QString at(int index) const override;
    void removeAt(int index) override;
    void appendLines(const QString& linesWithBreaks) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void appendCut(const QString& text);

    PackedLines m_lines;
};

} // namespace vq
