#pragma once
// Test DIBs of every kind the bitmap format allows, with pixels that differ
// from row to row and column to column, as bytes and as global memory blocks.

#include "platform/GlobalMemory.h"

#include <QByteArray>
#include <cstdint>

namespace twaintest {

struct DibKind
{
    int32_t width = 4;
    int32_t height = 3;       // negative: top-down
    uint16_t bits = 24;
    uint32_t headerSize = 40; // 12 (core), 40, 108 (V4) or 124 (V5)
    uint32_t compression = 0; // BI_RGB; BI_BITFIELDS gets 5-6-5 or 8-8-8 masks
    uint32_t clrUsed = 0;
    uint32_t sizeImage = 0;   // stored as given
};

/// Header, masks, colour table (clrUsed entries, or 2^bits for 8 bits or
/// less) and bits of padded rows.
QByteArray BuildDib(const DibKind &kind);
HGLOBAL ToBlock(const QByteArray &bytes);
QByteArray FromBlock(HGLOBAL block);
/// A DIB block freed with the object.
struct DibBlock
{
    explicit DibBlock(const QByteArray &bytes) : handle(ToBlock(bytes)) {}
    explicit DibBlock(const DibKind &kind) : DibBlock(BuildDib(kind)) {}
    ~DibBlock() { GlobalFree(handle); }
    DibBlock(const DibBlock &) = delete;
    DibBlock &operator=(const DibBlock &) = delete;
    HGLOBAL handle;
};

/// Offset of the pixel bits in a DIB built from the description.
int BitsOffset(const DibKind &kind);

} // namespace twaintest
