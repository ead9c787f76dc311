#include "data/jetpages.h"

#include "data/jetheader.h"

#include <cstring>

namespace vq::jet {
namespace {
constexpr int kPage = kPageSize;
static_assert(sizeof(PageRef::Page) == kPage);

unsigned u16(const unsigned char* p, int off) {
    return p[off] | (p[off + 1] << 8);
}
constexpr unsigned kOffsetMask = 0x1FFF;
} // namespace

bool dataPageSound(const unsigned char* pg) {
    const unsigned count = u16(pg, 12);
    if (count > 1000 || 14 + 2 * count > unsigned(kPage))
        return false;
    unsigned previous = kPage;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned start = u16(pg, 14 + 2 * int(i)) & kOffsetMask;
        if (start < 14 + 2 * count || start > previous)
            return false;
        previous = start;
    }
    return true;
}

PageReader::PageReader(QString path, std::unique_ptr<RegularFileReader> file, quint32 databaseKey)
    : m_path(std::move(path)), m_file(std::move(file)), m_size(m_file->size()), m_key(databaseKey),
      m_count(int(m_size / kPage)), m_unsound(size_t(m_count), false) {
    m_kept.reserve(kKept);
    m_ring.reserve(kKept);
}

void PageReader::close() {
    m_file.reset();
}

bool PageReader::reopen() {
    if (m_file)
        return true;
    RegularFileReader::Failure failure{};
    std::unique_ptr<RegularFileReader> file = RegularFileReader::open(m_path, &failure);
    if (file && file->size() == m_size)
        m_file = std::move(file);
    return m_file != nullptr;
}

std::shared_ptr<PageRef::Page> PageReader::read(quint32 n) const {
    if (!m_file)
        return std::make_shared<PageRef::Page>(); // zeros, not kept: the file may come back
    // The storage of the oldest kept page is taken over when nobody holds it any more.
    std::shared_ptr<PageRef::Page> page;
    if (m_ring.size() < size_t(kKept)) {
        m_ring.push_back(n);
    } else {
        const quint32 oldest = m_ring[m_next];
        if (auto it = m_kept.find(oldest); it != m_kept.end()) {
            if (it->second.use_count() == 1 && it->second != m_last)
                page = std::move(it->second);
            m_kept.erase(it);
        }
        m_ring[m_next] = n;
        m_next = (m_next + 1) % size_t(kKept);
    }
    if (!page)
        page = std::make_shared<PageRef::Page>();
    unsigned char* p = page->data();
    if (!m_file->read(qint64(n) * kPage, reinterpret_cast<char*>(p), kPage)) {
        std::memset(p, 0, kPage);
    } else {
        if (n != 0 && m_key != 0)
            togglePageEncryption(p, n, m_key);
        if (n != 0 && n < m_unsound.size() && p[0] == 0x01 && !dataPageSound(p)) {
            m_unsound[n] = true;
            std::memset(p + 8, 0, kPage - 8);
        }
    }
    m_kept[n] = page;
    return page;
}

PageRef PageReader::page(quint32 n) const {
    if (m_last && m_lastNumber == n)
        return PageRef(m_last);
    std::shared_ptr<PageRef::Page> page;
    if (auto it = m_kept.find(n); it != m_kept.end())
        page = it->second;
    else
        page = read(n);
    m_lastNumber = n;
    m_last = page;
    return PageRef(std::move(page));
}

void PageReader::forget(quint32 n) const {
    m_kept.erase(n);
    if (m_lastNumber == n)
        m_last.reset();
}

} // namespace vq::jet
