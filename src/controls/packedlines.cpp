#include "controls/packedlines.h"

#include <algorithm>

namespace vq {
std::optional<std::int32_t> PackedLines::numberOf(QStringView line) {
    const qsizetype n = line.size();
    qsizetype i = 0;
    const bool negative = n > 0 && line[0] == u'-';
    if (negative)
        ++i;
    const qsizetype digits = n - i;
    if (digits < 1 || digits > 10 || (line[i] == u'0' && (digits > 1 || negative)))
        return std::nullopt;
    std::int64_t v = 0;
    for (; i < n; ++i) {
        const char16_t c = line[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c - u'0');
    }
    if (negative)
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return std::int32_t(v);
}

std::pair<size_t, size_t> PackedLines::find(qsizetype index) const {
    size_t b = 0;
    qsizetype first = 0;
    if (m_hintBlock < m_blocks.size() && index >= m_hintFirst) {
        b = m_hintBlock;
        first = m_hintFirst;
    }
    while (index - first >= qsizetype(m_blocks[b].words.size())) {
        first += qsizetype(m_blocks[b].words.size());
        ++b;
    }
    m_hintBlock = b;
    m_hintFirst = first;
    return {b, size_t(index - first)};
}

size_t PackedLines::textIndex(const Block& b, size_t place) {
    return size_t(std::count(b.words.begin(), b.words.begin() + qsizetype(place), kText));
}

QString PackedLines::at(qsizetype index) const {
    if (index < 0 || index >= m_count)
        return QString();
    const auto [b, place] = find(index);
    const Block& block = m_blocks[b];
    const std::int32_t w = block.words[place];
    return w == kText ? block.texts[textIndex(block, place)] : QString::number(w);
}

void PackedLines::removeAt(qsizetype index) {
    if (index < 0 || index >= m_count)
        return;
    const auto [b, place] = find(index);
    Block& block = m_blocks[b];
    if (block.words[place] == kText)
        block.texts.erase(block.texts.begin() + qsizetype(textIndex(block, place)));
    block.words.erase(block.words.begin() + qsizetype(place));
    if (block.words.empty())
        m_blocks.erase(m_blocks.begin() + qsizetype(b));
    --m_count;
    // The hint stays true: the lines before this block are as they were, and an emptied
    // block's place is taken by the next, which starts where it did.
}

void PackedLines::append(QStringView line) {
    if (m_blocks.empty() || m_blocks.back().words.size() == kBlockLines) {
        m_blocks.emplace_back();
        m_blocks.back().words.reserve(kBlockLines);
    }
    Block& block = m_blocks.back();
    // The lowest number marks a text; it is kept as one.
    if (const std::optional<std::int32_t> v = numberOf(line); v && *v != kText) {
        block.words.push_back(*v);
    } else {
        block.words.push_back(kText);
        block.texts.push_back(line.toString());
    }
    ++m_count;
}

void PackedLines::clear() {
    m_blocks = {};
    m_count = 0;
    m_hintBlock = 0;
    m_hintFirst = 0;
}

} // namespace vq
