#pragma once

// For tests only; the shipped program never includes this header.

#include <QtGlobal>

namespace vq::bank::detail {

// The size in bytes at which a big workbook part (a sheet, the shared strings) is cut into
// pieces read side by side.
extern qsizetype xlsxPieceSize;

// How the last workbook read on this thread went: the pieces of each part, and whether the
// parts were read again whole (other markup, damage).
struct XlsxPieces {
    int cellPieces = 0;
    int stringPieces = 0;
    bool wholeAgain = false;
};
extern thread_local XlsxPieces xlsxLastPieces;

} // namespace vq::bank::detail
