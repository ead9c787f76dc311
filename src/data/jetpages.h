#pragma once

#include "platform/files.h"

#include <QtGlobal>

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vq::jet {

// One page of a bank as its readers see it. Held by a name, the page stays readable for as
// long as the name lives, whatever the reader has read since; a page taken from a temporary
// would not, so a temporary gives only its bytes one by one.
class PageRef {
public:
    using Page = std::array<unsigned char, 4096>;
    PageRef() = default;
    explicit PageRef(std::shared_ptr<const Page> page) : m_page(std::move(page)) {}
    operator const unsigned char*() const& { return m_page->data(); }
    operator const unsigned char*() const&& = delete;
    unsigned char operator[](int i) const { return (*m_page)[size_t(i)]; }

private:
    std::shared_ptr<const Page> m_page;
};

// Reads the pages of a Jet 4.0 file when they are asked for instead of the whole file at
// once, so that the memory a bank costs is that of the pages in use, not of the file: a few
// hundred pages read last are kept. Each page comes decrypted (with the database key of the
// file's header), and a data page whose row table does not hold comes emptied (kind and owner
// kept, no rows), so that nothing reads past a page through it; the reader remembers which.
class PageReader {
public:
    static constexpr int kKept = 256;

    PageReader(QString path, std::unique_ptr<RegularFileReader> file, quint32 databaseKey);

    // Closes the file (the pages kept stay) and opens it again; a file that can no longer be
    // opened, or whose size changed meanwhile, stays closed, and its pages not kept read as
    // zeros.
    void close();
    bool reopen();
    bool isOpen() const { return m_file != nullptr; }

    int pageCount() const { return m_count; }
    // The page; a page the file no longer has (cut short since it was opened) reads as zeros.
    PageRef page(quint32 n) const;
    // Whether the page, once read, was an emptied data page.
    bool unsound(quint32 n) const { return n < m_unsound.size() && m_unsound[n]; }
    // The page is read from the file again when next asked for.
    void forget(quint32 n) const;
    // Pages held by the reader now, for tests.
    int kept() const { return int(m_kept.size()); }
    // The open file; only while isOpen().
    const RegularFileReader& file() const { return *m_file; }

private:
    std::shared_ptr<PageRef::Page> read(quint32 n) const;

    QString m_path;
    std::unique_ptr<RegularFileReader> m_file;
    qint64 m_size = 0;
    quint32 m_key = 0;
    int m_count = 0;
    mutable std::vector<bool> m_unsound;
    mutable std::unordered_map<quint32, std::shared_ptr<PageRef::Page>> m_kept;
    // The order the kept pages came in; the oldest goes first.
    mutable std::vector<quint32> m_ring;
    mutable size_t m_next = 0;
    // Rows of one page are read one after the other.
    mutable quint32 m_lastNumber = 0;
    mutable std::shared_ptr<PageRef::Page> m_last;
};

// Whether what the library trusts on every data page holds: the row table fits and each
// row lies inside the page after it, rows packed from the end.
bool dataPageSound(const unsigned char* pg);

} // namespace vq::jet
