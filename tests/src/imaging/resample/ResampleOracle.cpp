#include "ResampleOracle.h"

#include <cmath>
#include <random>

namespace oracle {

TCListList Contributors(int srcSize, int dstSize, TFilterProc filter, float fwidth)
{
    TCListList lists(dstSize);
    float scale;
    if (srcSize == 1 || dstSize == 1)
        scale = (long double)dstSize / srcSize;
    else
        scale = (long double)(dstSize - 1) / (srcSize - 1);
    for (int i = 0; i < dstSize; ++i) {
        TCList &l = lists[i];
        l.n = 0;
        float center = (long double)i / scale;
        long double left, right;
        float width = fwidth, fscale = 1.0f;
        if (scale < 1.0f) {
            width = (long double)fwidth / scale;
            fscale = 1.0L / scale;
        }
        left = std::floor((long double)center - width);
        right = std::ceil((long double)center + width);
        for (long double j = left; j <= right; j += 1) {
            float weight;
            if (scale < 1.0f)
                weight = (long double)filter((float)((center - j) / fscale)) / fscale;
            else
                weight = filter((float)(center - j));
            if (weight == 0.0f)
                continue;
            long double n = j;
            if (j < 0)
                n = -j;
            else if (j >= srcSize)
                n = 2.0L * srcSize - 1 - j;
            if (n < 0)
                n = 0;
            if (n > srcSize - 1)
                n = srcSize - 1;
            l.p.push_back({(int)n, weight});
            l.n++;
        }
    }
    return lists;
}

static unsigned char ToByte(float v)
{
    if (v > 255)
        return 255;
    if (v < 0)
        return 0;
    return (unsigned char)std::nearbyint(v); // ties to even in the default mode
}

QImage Resize(const QImage &source, int dstWidth, int dstHeight, TFilterProc filter, float fwidth)
{
    const QImage src = source.convertToFormat(QImage::Format_BGR888);
    const int srcWidth = src.width(), srcHeight = src.height();
    QImage work(dstWidth, srcHeight, QImage::Format_BGR888);
    QImage dst(dstWidth, dstHeight, QImage::Format_BGR888);

    TCListList columns = Contributors(srcWidth, dstWidth, filter, fwidth);
    for (int k = 0; k < srcHeight; ++k) {
        for (int i = 0; i < dstWidth; ++i) {
            float acc[3] = {0, 0, 0};
            for (int e = 0; e < columns[i].n; ++e) {
                const TContributor &c = columns[i].p[e];
                if (c.weight == 0)
                    continue;
                for (int b = 0; b < 3; ++b)
                    acc[b] = std::fma((float)src.constScanLine(k)[3 * c.pixel + b], c.weight, acc[b]);
            }
            for (int b = 0; b < 3; ++b)
                work.scanLine(k)[3 * i + b] = ToByte(acc[b]);
        }
    }

    TCListList rows = Contributors(srcHeight, dstHeight, filter, fwidth);
    for (int x = 0; x < dstWidth; ++x) {
        for (int i = 0; i < dstHeight; ++i) {
            float acc[3] = {0, 0, 0};
            for (int e = 0; e < rows[i].n; ++e) {
                const TContributor &c = rows[i].p[e];
                if (c.weight == 0)
                    continue;
                for (int b = 0; b < 3; ++b)
                    acc[b] = std::fma((float)work.constScanLine(c.pixel)[3 * x + b], c.weight, acc[b]);
            }
            for (int b = 0; b < 3; ++b)
                dst.scanLine(i)[3 * x + b] = ToByte(acc[b]);
        }
    }
    return dst;
}

QImage TestPicture(int width, int height, unsigned seed, QImage::Format format)
{
    QImage image(width, height, QImage::Format_BGR888);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        unsigned char *row = image.scanLine(y);
        for (int x = 0; x < 3 * width; ++x) {
            const int region = ((x / 3) / 5 + y / 4) % 3;
            if (region == 0)
                row[x] = (((x / 3) / 5) & 1) ? 255 : 0;
            else
                row[x] = (unsigned char)(random() & 0xFF);
        }
    }
    return image.convertToFormat(format);
}

} // namespace oracle
