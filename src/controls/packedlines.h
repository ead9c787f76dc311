#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace vq {

// Lines of text for a store that is read, counted and shortened line by line, such as the
// question pool with a number a line for every question of the bank. A line that is a whole
// number written as the number's own text (no sign but a minus, no leading zero) is kept as
// that number in four bytes; any other line is kept as its text. The lines stand in blocks of
// a few hundred, so that removing the line at a position costs about a microsecond even with
// a million lines, and reading them in order costs the same for each.
class PackedLines {
public:
    qsizetype count() const { return m_count; }
    // The line at index; the empty text outside 0..count()-1.
    QString at(qsizetype index) const;
    // Removes the line at index (the later ones move up); nothing outside 0..count()-1.
    void removeAt(qsizetype index);
    void append(QStringView line);
    void clear();

    // The number a line is the exact text of (no sign but a minus, no leading zero), where it
    // fits in 32 bits; such a line is kept as that number.
    static std::optional<std::int32_t> numberOf(QStringView line);

private:
    static constexpr size_t kBlockLines = 512;
    // A word that stands for the block's next text in `texts`.
    static constexpr std::int32_t kText = INT32_MIN;
    struct Block {
        std::vector<std::int32_t> words;
        std::vector<QString> texts; // the lines that are not numbers, in order
    };
    // The block holding the line at index, and its place there; index within 0..count()-1.
    std::pair<size_t, size_t> find(qsizetype index) const;
    static size_t textIndex(const Block& b, size_t place);

    std::vector<Block> m_blocks;
    qsizetype m_count = 0;
    // Where the last search ended: the block and the index of its first line. Reading the
    // lines one after the other starts each search there.
    mutable size_t m_hintBlock = 0;
    mutable qsizetype m_hintFirst = 0;
};

} // namespace vq
