// An IP camera's multipart stream cut into its pictures, however the
// network hands its bytes over.
#include "services/TMjpegStream.h"

#include <gtest/gtest.h>

using hostkit::TMultipartSplitter;

namespace {

QByteArray Part(const QByteArray &payload, bool withLength, const QByteArray &breakBefore = "\r\n")
{
    QByteArray p = breakBefore + "--frame\r\nContent-Type: image/jpeg\r\n";
    if (withLength)
        p += "Content-Length: " + QByteArray::number(payload.size()) + "\r\n";
    return p + "\r\n" + payload;
}

} // namespace

TEST(MjpegStream, TheBoundaryIsTakenFromTheContentTypeAsCamerasWriteIt)
{
    const struct { QByteArray type, boundary; } cases[] = {
        {"multipart/x-mixed-replace; boundary=frame", "frame"},
        {"multipart/x-mixed-replace;boundary=\"my frame\"", "my frame"},
        {"Multipart/X-Mixed-Replace; charset=x; Boundary=--myboundary", "myboundary"},
        {"image/jpeg", ""},
        {"video/x-msvideo", ""},
        {"multipart/x-mixed-replace", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMultipartSplitter::BoundaryOf(c.type), c.boundary) << c.type.constData();
}

TEST(MjpegStream, EveryPictureComesWholeHoweverTheBytesAreCutAndOnlyTheNewestIsKept)
{
    // The second picture holds the delimiter's bytes: only its length keeps it whole.
    const QByteArray pictures[] = {"\xFF\xD8one\xFF\xD9", "\xFF\xD8tw\r\n--frame\r\no\xFF\xD9", "\xFF\xD8three\xFF\xD9"};
    for (const bool withLength : {true, false}) {
        for (const int chunk : {1, 3, 7}) { // each read completes one picture at most
            QByteArray stream;
            for (const QByteArray &p : pictures)
                if (withLength || !p.contains("--frame"))
                    stream += Part(p, withLength);
            stream += "\r\n--frame\r\n"; // the last part ends where the next begins
            TMultipartSplitter splitter("frame");
            std::vector<QByteArray> got;
            for (qsizetype at = 0; at < stream.size(); at += chunk)
                if (auto part = splitter.Feed(stream.mid(at, chunk)))
                    got.push_back(*part);
            std::vector<QByteArray> want;
            for (const QByteArray &p : pictures)
                if (withLength || !p.contains("--frame"))
                    want.push_back(p);
            EXPECT_EQ(got, want) << "length " << withLength << ", chunk " << chunk;
        }
    }

    // Many pictures in one read: the feed wants the newest only.
    TMultipartSplitter splitter("frame");
    const auto newest = splitter.Feed(Part("a", true) + Part("b", true) + Part("c", false, "\n") + "\n--frame");
    ASSERT_TRUE(newest);
    EXPECT_EQ(*newest, QByteArray("c"));
}

TEST(MjpegStream, AStreamThatNeverCompletesAPartIsNoPictureStream)
{
    TMultipartSplitter splitter("frame");
    EXPECT_FALSE(splitter.Feed(Part("", false)));
    const QByteArray block(1024 * 1024, 'x');
    int fed = 0;
    while (!splitter.Overflowed() && fed < 100) {
        EXPECT_FALSE(splitter.Feed(block));
        ++fed;
    }
    EXPECT_EQ(fed, TMultipartSplitter::MaxPartBytes / block.size());
}
