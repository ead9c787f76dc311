#pragma once

#include <QString>

namespace vq {

// Lines of text kept by a control, one entry a line, the text always ending in a line break.
class LineStore {
public:
    virtual ~LineStore() = default;
    virtual int count() const = 0;
    // The line at index; the empty text outside 0..count()-1.
    virtual QString at(int index) const = 0;
    // Removes the line at index; nothing outside 0..count()-1.
    virtual void removeAt(int index) = 0;
    // Several lines at once, in order, each ending in its line break.
    virtual void appendLines(const QString& linesWithBreaks) = 0;
    void append(const QString& line) { appendLines(line + u'\n'); }
};

} // namespace vq
