#include "DibBuilder.h"

#include <QtEndian>
#include <cstring>

namespace twaintest {

namespace {

void put16(QByteArray &b, int at, uint16_t v) { qToLittleEndian(v, b.data() + at); }
void put32(QByteArray &b, int at, uint32_t v) { qToLittleEndian(v, b.data() + at); }

uint32_t tableEntries(const DibKind &s)
{
    if (s.clrUsed)
        return s.clrUsed;
    return s.bits <= 8 ? (1u << s.bits) : 0u;
}

} // namespace

int BitsOffset(const DibKind &s)
{
    const int masks = (s.compression == 3 && s.headerSize == 40) ? 12 : 0;
    return int(s.headerSize) + masks + int(tableEntries(s)) * (s.headerSize == 12 ? 3 : 4);
}

QByteArray BuildDib(const DibKind &s)
{
    const int rows = s.height < 0 ? -s.height : s.height;
    const int rowBytes = (s.width * s.bits + 31) / 32 * 4;
    QByteArray b(BitsOffset(s) + rowBytes * rows, '\0');
    put32(b, 0, s.headerSize);
    if (s.headerSize == 12) {
        put16(b, 4, uint16_t(s.width));
        put16(b, 6, uint16_t(s.height));
        put16(b, 8, 1);
        put16(b, 10, s.bits);
    } else {
        put32(b, 4, uint32_t(s.width));
        put32(b, 8, uint32_t(s.height));
        put16(b, 12, 1);
        put16(b, 14, s.bits);
        put32(b, 16, s.compression);
        put32(b, 20, s.sizeImage);
        put32(b, 24, 3780);
        put32(b, 28, 3780);
        put32(b, 32, s.clrUsed);
        if (s.compression == 3) {
            const int at = 40; // after a 40-byte header, or inside a longer one
            const bool wide = s.bits == 32;
            put32(b, at, wide ? 0x00FF0000u : 0xF800u);
            put32(b, at + 4, wide ? 0x0000FF00u : 0x07E0u);
            put32(b, at + 8, wide ? 0x000000FFu : 0x001Fu);
        }
    }
    const int entry = s.headerSize == 12 ? 3 : 4;
    const int tableAt = BitsOffset(s) - int(tableEntries(s)) * entry;
    for (uint32_t i = 0; i < tableEntries(s); ++i) {
        char *e = b.data() + tableAt + int(i) * entry;
        e[0] = char(i * 7);       // blue
        e[1] = char(255 - i);     // green
        e[2] = char(i * 3 + 1);   // red
    }
    char *bits = b.data() + BitsOffset(s);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < rowBytes; ++x)
            bits[y * rowBytes + x] = char((x * 31 + y * 17 + 5) & 0xFF);
    return b;
}

HGLOBAL ToBlock(const QByteArray &bytes)
{
    HGLOBAL h = GlobalAlloc(GHND, std::size_t(bytes.size()));
    std::memcpy(GlobalLock(h), bytes.constData(), std::size_t(bytes.size()));
    GlobalUnlock(h);
    return h;
}

QByteArray FromBlock(HGLOBAL block)
{
    const void *p = GlobalLock(block);
    if (!p)
        return QByteArray();
    QByteArray bytes(static_cast<const char *>(p), qsizetype(GlobalSize(block)));
    GlobalUnlock(block);
    return bytes;
}

} // namespace twaintest
