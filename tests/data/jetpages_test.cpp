// The bank's pages read when asked for: as the reader needs them (decrypted, a damaged data
// page emptied), a few hundred at a time however large the file, and still readable while held.
#include "data/jetheader.h"
#include "data/jetpages.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Page = vq::jet::PageRef::Page;
constexpr int kPage = int(sizeof(Page));

// A data page (kind 1) owned by page 2 with `rows` rows of 8 bytes packed from the end.
Page dataPage(int rows, unsigned char fill) {
    Page p{};
    p[0] = 0x01;
    p[4] = 2;
    p[12] = static_cast<unsigned char>(rows);
    for (int r = 0; r < rows; ++r) {
        const int start = kPage - 8 * (r + 1);
        p[size_t(14 + 2 * r)] = static_cast<unsigned char>(start & 0xFF);
        p[size_t(15 + 2 * r)] = static_cast<unsigned char>(start >> 8);
        std::memset(p.data() + start, fill, 8);
    }
    return p;
}

struct PagedFile {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("db.DLL"));
    void write(const std::vector<Page>& pages) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const Page& p : pages)
            f.write(reinterpret_cast<const char*>(p.data()), kPage);
    }
    std::unique_ptr<vq::jet::PageReader> open(quint32 key = 0) {
        vq::RegularFileReader::Failure failure{};
        auto file = vq::RegularFileReader::open(path, &failure);
        EXPECT_TRUE(file);
        return std::make_unique<vq::jet::PageReader>(path, std::move(file), key);
    }
};

TEST(JetPages, PagesComeDecryptedAndADamagedDataPageEmptied) {
    constexpr quint32 kKey = 0x5A17C3E1;
    std::vector<Page> pages(4);
    pages[1] = dataPage(3, 0x41);
    pages[2] = dataPage(2, 0x42);
    // Page 3: its second row starts before the row table ends.
    pages[3] = dataPage(2, 0x43);
    pages[3][16] = 10;
    pages[3][17] = 0;
    const std::vector<Page> plain = pages;
    for (quint32 n = 1; n < 4; ++n)
        vq::jet::togglePageEncryption(pages[n].data(), n, kKey);
    PagedFile f;
    f.write(pages);
    const auto reader = f.open(kKey);
    ASSERT_EQ(reader->pageCount(), 4);
    for (quint32 n : {1u, 2u}) {
        const vq::jet::PageRef p = reader->page(n);
        EXPECT_EQ(std::memcmp(p, plain[n].data(), kPage), 0) << n;
        EXPECT_FALSE(reader->unsound(n));
    }
    const vq::jet::PageRef damaged = reader->page(3);
    EXPECT_TRUE(reader->unsound(3));
    EXPECT_EQ(damaged[0], 0x01); // kind and owner kept, rows gone
    EXPECT_EQ(damaged[4], 2);
    EXPECT_EQ(damaged[12], 0);
    EXPECT_EQ(std::count(static_cast<const unsigned char*>(damaged) + 8,
                         static_cast<const unsigned char*>(damaged) + kPage, 0),
              kPage - 8);
}

// However many pages are read, only the last few hundred stay; one held by a name stays
// readable and unchanged through all the reads after it, and a page the file lost since it
// was opened reads as zeros.
TEST(JetPages, MemoryIsThePagesInUseNotTheFile) {
    constexpr int kPages = 3 * vq::jet::PageReader::kKept;
    std::vector<Page> pages(static_cast<size_t>(kPages));
    for (int n = 1; n < kPages; ++n)
        pages[size_t(n)] = dataPage(1, static_cast<unsigned char>(n));
    PagedFile f;
    f.write(pages);
    auto reader = f.open();
    const vq::jet::PageRef held = reader->page(5);
    for (int n = 1; n < kPages; ++n) {
        const vq::jet::PageRef p = reader->page(quint32(n));
        ASSERT_EQ(p[kPage - 1], static_cast<unsigned char>(n));
        ASSERT_LE(reader->kept(), vq::jet::PageReader::kKept);
    }
    EXPECT_EQ(std::memcmp(held, pages[5].data(), kPage), 0);
    // Pages read again come from the file again, the same.
    EXPECT_EQ(reader->page(7)[kPage - 1], 7);

    // Closed (as between queries where an open file would keep others from replacing it) and
    // opened again: the same pages.
    reader->close();
    EXPECT_FALSE(reader->isOpen());
    ASSERT_TRUE(reader->reopen());
    reader->forget(9);
    EXPECT_EQ(reader->page(9)[kPage - 1], 9);

    // A file whose size changed meanwhile is another file: not opened again, its pages zeros.
    ASSERT_TRUE(QFile::resize(f.path, qint64(kPage) * 10));
    reader->close();
    EXPECT_FALSE(reader->reopen());
    reader->forget(9);
    EXPECT_EQ(reader->page(9)[kPage - 1], 0);
    reader = f.open();
    reader->forget(700);
    const vq::jet::PageRef lost = reader->page(700);
    EXPECT_EQ(std::count(static_cast<const unsigned char*>(lost),
                         static_cast<const unsigned char*>(lost) + kPage, 0),
              kPage);
}

} // namespace
