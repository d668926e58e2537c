// BMP files: the writer's numbers, round trips of every kind of bitmap, the
// broken files, the file dialogs and the result codes.
#include "support/DibBuilder.h"
#include "TwainFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtEndian>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace twaintest;

namespace {

using Dib = DibBlock;

quint32 u32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }

class BmpFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        previous = twain::SetFileDialogHook([this](bool save, const QString &filter) {
            dialogs.emplace_back(save, filter);
            return dialogAnswer;
        });
    }
    void TearDown() override { twain::SetFileDialogHook(previous); }
    QString path(const QString &name) const { return QDir(r9test::TestHome()).filePath(name); }
    QByteArray writeToFile(HGLOBAL dib, int expected = 0)
    {
        const QByteArray file = QFile::encodeName(path(QStringLiteral("out.bmp")));
        EXPECT_EQ(TWAIN_WriteNativeToFilename(dib, file.constData()), expected);
        return r9test::ReadFile(path(QStringLiteral("out.bmp")));
    }

    twain::FileDialogHook previous;
    std::vector<std::pair<bool, QString>> dialogs;
    QString dialogAnswer;
    r9test::MessageBoxRecorder boxes;
};

TEST_F(BmpFileTest, A24BitDibGetsItsSizesComputedAndStored)
{
    Dib dib(DibKind{101, 50, 24});
    const QByteArray file = writeToFile(dib.handle);
    ASSERT_EQ(file.size(), 15254);
    EXPECT_EQ(file.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(file, 2), 15254u);  // bfSize
    EXPECT_EQ(u32(file, 10), 54u);    // bfOffBits
    EXPECT_EQ(u32(file, 14 + 20), 15200u);
    EXPECT_EQ(u32(FromBlock(dib.handle), 20), 15200u); // stored in the DIB too
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(BmpFileTest, ColourTablesAndTopDownRowsCountInTheOffsets)
{
    Dib gray(DibKind{3, 3, 8});
    EXPECT_EQ(u32(writeToFile(gray.handle), 10), 1078u);
    Dib sixteen(DibKind{3, 3, 8, 40, 0, 16});
    EXPECT_EQ(u32(writeToFile(sixteen.handle), 10), 54u + 64u);
    Dib topDown(DibKind{101, -50, 24});
    const QByteArray file = writeToFile(topDown.handle);
    EXPECT_EQ(u32(file, 14 + 20), 15200u);
    EXPECT_EQ(u32(file, 2), 15254u);
    Dib masks(DibKind{3, 3, 16, 40, 3});
    EXPECT_EQ(u32(writeToFile(masks.handle), 10), 54u + 12u);
    Dib core(DibKind{3, 3, 8, 12});
    const QByteArray coreFile = writeToFile(core.handle);
    EXPECT_EQ(u32(coreFile, 10), 14u + 12u + 3u * 256u);
    EXPECT_EQ(FromBlock(core.handle), BuildDib(DibKind{3, 3, 8, 12})); // no field to store a size in
}

TEST_F(BmpFileTest, EveryKindOfBitmapReadsBackAsWritten)
{
    std::vector<DibKind> kinds;
    for (uint16_t bits : {1, 4, 8, 16, 24, 32})
        for (uint32_t header : {40u, 108u, 124u})
            for (int32_t height : {7, -7})
                kinds.push_back(DibKind{11, height, bits, header});
    for (uint16_t bits : {1, 4, 8, 24})
        kinds.push_back(DibKind{11, 7, bits, 12});
    kinds.push_back(DibKind{11, 7, 16, 40, 3});
    kinds.push_back(DibKind{11, -7, 32, 40, 3});
    kinds.push_back(DibKind{11, 7, 16, 108, 3});
    kinds.push_back(DibKind{11, 7, 8, 40, 0, 5});
    for (const DibKind &s : kinds) {
        SCOPED_TRACE(testing::Message() << s.bits << " bits, header " << s.headerSize << ", height " << s.height
                                        << ", compression " << s.compression);
        Dib dib(s);
        const QByteArray file = writeToFile(dib.handle);
        const QByteArray written = FromBlock(dib.handle);
        EXPECT_EQ(file.mid(14), written);
        const QByteArray name = QFile::encodeName(path(QStringLiteral("out.bmp")));
        TWAIN_HDIB back = TWAIN_LoadNativeFromFilename(name.constData());
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(FromBlock(back), written);
        TWAIN_FreeNative(back);
    }
}

TEST_F(BmpFileTest, PixelsStartWhereTheFileHeaderSays)
{
    // Writers may leave unused bytes between the colour table and the pixels
    // and say so in bfOffBits; the DIB is packed without them.
    for (const DibKind &kind : {DibKind{9, 5, 8}, DibKind{9, -5, 24}, DibKind{9, 5, 16, 40, 3},
                                DibKind{9, 5, 4, 12}, DibKind{9, 5, 8, 108, 0, 7}}) {
        SCOPED_TRACE(testing::Message() << kind.bits << " bits, header " << kind.headerSize);
        const QByteArray dib = BuildDib(kind);
        const int head = BitsOffset(kind);
        const QByteArray gap(100, char(0x5A));
        QByteArray file = QByteArray("BM") + QByteArray(12, '\0') + dib.left(head) + gap + dib.mid(head);
        qToLittleEndian<quint32>(quint32(file.size()), file.data() + 2);
        qToLittleEndian<quint32>(quint32(14 + head + gap.size()), file.data() + 10);
        const QString name = path(QStringLiteral("gap.bmp"));
        r9test::WriteFile(name, file);
        TWAIN_HDIB back = TWAIN_LoadNativeFromFilename(QFile::encodeName(name).constData());
        ASSERT_NE(back, nullptr);
        // The pixels move down inside the block read, no second block of the
        // picture's size is made: what they leave behind is zero.
        const QByteArray block = FromBlock(back);
        EXPECT_EQ(block.size(), file.size() - 14);
        EXPECT_EQ(block.left(dib.size()), dib);
        EXPECT_EQ(block.mid(dib.size()), QByteArray(gap.size(), '\0'));
        TWAIN_FreeNative(back);

        // Cut short by less than its gap, it is still short: nothing loads.
        QByteArray cut = file.left(file.size() - 10);
        qToLittleEndian<quint32>(quint32(cut.size()), cut.data() + 2);
        r9test::WriteFile(name, cut);
        EXPECT_EQ(TWAIN_LoadNativeFromFilename(QFile::encodeName(name).constData()), nullptr);

        // Pixels said to start past the file's end: nothing loads.
        qToLittleEndian<quint32>(quint32(file.size() + 1), file.data() + 10);
        r9test::WriteFile(name, file);
        EXPECT_EQ(TWAIN_LoadNativeFromFilename(QFile::encodeName(name).constData()), nullptr);
    }
}

TEST_F(BmpFileTest, RunLengthBitmapsKeepTheirStoredSize)
{
    const QByteArray rle = QByteArray::fromHex("040100000401000004010001");
    QByteArray bytes = BuildDib(DibKind{4, 3, 8, 40, 1, 2, uint32_t(rle.size())}).left(40 + 8) + rle;
    Dib dib(bytes);
    const QByteArray file = writeToFile(dib.handle);
    EXPECT_EQ(u32(file, 2), 14u + 48u + 12u);
    const QByteArray name = QFile::encodeName(path(QStringLiteral("out.bmp")));
    TWAIN_HDIB back = TWAIN_LoadNativeFromFilename(name.constData());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(FromBlock(back), bytes);
    TWAIN_FreeNative(back);

    // Compressed without a size: nothing is written.
    Dib noSize(BuildDib(DibKind{4, 3, 8, 40, 1}));
    EXPECT_EQ(writeToFile(noSize.handle, -4).size(), 0);
}

TEST_F(BmpFileTest, AFileHandleCanBeAPipe)
{
    Dib dib(DibKind{5, 5, 24});
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(TWAIN_WriteNativeToFile(dib.handle, fds[1]), 0);
    close(fds[1]);
    TWAIN_HDIB back = TWAIN_LoadNativeFromFile(fds[0]);
    close(fds[0]);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(FromBlock(back), FromBlock(dib.handle));
    TWAIN_FreeNative(back);

    // A pipe that ends early gives nothing.
    ASSERT_EQ(pipe(fds), 0);
    const QByteArray file = writeToFile(dib.handle);
    ASSERT_EQ(write(fds[1], file.constData(), size_t(file.size() - 10)), file.size() - 10);
    close(fds[1]);
    EXPECT_EQ(TWAIN_LoadNativeFromFile(fds[0]), nullptr);
    close(fds[0]);
}

TEST_F(BmpFileTest, TheWriterReportsItsFailures)
{
    Dib dib(DibKind{5, 5, 24});
    EXPECT_EQ(TWAIN_WriteNativeToFile(nullptr, 1), -3);
    EXPECT_EQ(TWAIN_WriteNativeToFile(dib.handle, -1), -4);
    const int readOnly = open("/dev/null", O_RDONLY);
    EXPECT_EQ(TWAIN_WriteNativeToFile(dib.handle, readOnly), -4);
    close(readOnly);
    EXPECT_EQ(TWAIN_WriteNativeToFilename(dib.handle, "/no/such/folder/x.bmp"), -2);

    // Rows past the end of the block: nothing is written, and the caller's
    // DIB keeps the size it had in its header.
    QByteArray rows = BuildDib(DibKind{5, 50, 24});
    Dib cut(rows.left(rows.size() / 2));
    EXPECT_EQ(writeToFile(cut.handle, -4).size(), 0);
    EXPECT_EQ(FromBlock(cut.handle), rows.left(rows.size() / 2));
    EXPECT_EQ(u32(FromBlock(cut.handle), 20), 0u);

    // A file another writer holds is not written.
    const QByteArray name = QFile::encodeName(path(QStringLiteral("held.bmp")));
    const int holder = open(name.constData(), O_WRONLY | O_CREAT, 0666);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_EQ(TWAIN_WriteNativeToFilename(dib.handle, name.constData()), -2);
    EXPECT_EQ(TWAIN_LoadNativeFromFilename(name.constData()), nullptr);
    close(holder);
}

TEST_F(BmpFileTest, TheDirectWriterTakesTheCallersWordForTheBlock)
{
    QByteArray bytes = BuildDib(DibKind{101, 50, 24});
    const QByteArray name = QFile::encodeName(path(QStringLiteral("direct.bmp")));
    const int fd = open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    EXPECT_TRUE(TWAIN_WriteDibToFile(reinterpret_cast<TWAIN_BITMAPINFOHEADER *>(bytes.data()), fd));
    close(fd);
    const QByteArray file = r9test::ReadFile(path(QStringLiteral("direct.bmp")));
    EXPECT_EQ(file.size(), 15254);
    EXPECT_EQ(file.mid(14), bytes);
    EXPECT_EQ(u32(bytes, 20), 15200u);
}

TEST_F(BmpFileTest, BrokenFilesLoadAsNothing)
{
    QDirIterator it(QStringLiteral(R9_TWAIN_CORPUS), {QStringLiteral("*.bmp")}, QDir::Files);
    int files = 0;
    while (it.hasNext()) {
        const QString file = it.next();
        SCOPED_TRACE(file.toStdString());
        const QByteArray name = QFile::encodeName(file);
        EXPECT_EQ(TWAIN_LoadNativeFromFilename(name.constData()), nullptr);
        ++files;
    }
    EXPECT_GE(files, 20);
    EXPECT_EQ(TWAIN_LoadNativeFromFilename("/no/such/file.bmp"), nullptr);
}

TEST_F(BmpFileTest, WithoutANameTheDialogsAskAndAppendTheExtension)
{
    Dib dib(DibKind{3, 3, 24});
    dialogAnswer.clear();
    EXPECT_EQ(TWAIN_WriteNativeToFilename(dib.handle, nullptr), -1);
    EXPECT_EQ(TWAIN_LoadNativeFromFilename(""), nullptr);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0], std::make_pair(true, QStringLiteral("Windows Bitmap (*.bmp)")));
    EXPECT_EQ(dialogs[1], std::make_pair(false, QStringLiteral("Windows Bitmaps (*.bmp)")));

    dialogAnswer = path(QStringLiteral("typed"));
    EXPECT_EQ(TWAIN_WriteNativeToFilename(dib.handle, ""), 0);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("typed.bmp"))));
    TWAIN_HDIB back = TWAIN_LoadNativeFromFilename(nullptr);
    ASSERT_NE(back, nullptr);
    TWAIN_FreeNative(back);

    dialogAnswer = path(QStringLiteral("kept.bmp"));
    EXPECT_EQ(TWAIN_WriteNativeToFilename(dib.handle, nullptr), 0);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("kept.bmp"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("kept.bmp.bmp"))));

    // A name given by the caller is used as it is.
    const QByteArray plain = QFile::encodeName(path(QStringLiteral("plain")));
    EXPECT_EQ(TWAIN_WriteNativeToFilename(dib.handle, plain.constData()), 0);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("plain"))));
    EXPECT_EQ(dialogs.size(), 5u);
}

} // namespace
