#include <string>

#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TempFolders.h"
#include "platform/files/FileError.h"
#include "platform/files/FileSystem.h"

namespace korvale::test {
namespace {

using namespace std::string_literals;

class TextStreamTest : public TempFolders {
protected:
    std::string Path() const { return Files().programFile("text.txt"); }
    std::filesystem::path Disk() const { return ProgramPath("text.txt"); }
    TextStream Open() { return TextStream(ops(), ops().open(Path(), FileOps::OpenMode::Read)); }
};

TEST_F(TextStreamTest, ReadsTheFileAsItHoldsItWhateverSizeWasExpected) {
    const struct {
        const char* name;
        std::string bytes;
        std::size_t expected;
    } cases[] = {
        {"empty file", "", 0},
        {"bytes 0x80-0xFF, NUL and lone CR", "\x80\xE9\xFF\0x\r\n\0\r"s, 9},
        {"larger than expected", std::string(300000, 'x') + "\r\ny", 10},
        {"smaller than expected", "a\r\nb", 100000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(Disk(), c.bytes);
        TextStream stream = Open();
        EXPECT_EQ(stream.ReadAll(c.expected), c.bytes);
        EXPECT_EQ(stream.ReadAll(c.expected), "") << "past the end";
        stream.Close();
        EXPECT_EQ(Files().GetFile(Path()).ReadAll(), c.bytes);
    }
}

TEST_F(TextStreamTest, WritesExactBytesInPiecesOfAnySize) {
    WriteBytes(Disk(), "old content that must go");
    TextStream stream = Files().CreateTextFile(Path());
    const std::string large(200000, '\xE9');
    for (const std::string& piece : {"a"s, "b\r\n\x80\0\xFF\rz"s, large, "c"s, large}) {
        stream.Write(piece);
    }
    stream.Close();
    EXPECT_EQ(ReadBytes(Disk()), "ab\r\n\x80\0\xFF\rz"s + large + "c" + large);
}

TEST_F(TextStreamTest, ReleasedWithoutCloseLeavesNothingOpen) {
    WriteBytes(Disk(), "a\r\nb");
    {
        TextStream reading = Open();
        EXPECT_EQ(reading.ReadAll(0), "a\r\nb");
        TextStream writing = Files().CreateTextFile(Files().programFile("other.txt"));
        TextStream moved(std::move(writing));
        EXPECT_EQ(ops().OpenHandles(), 2u);
    }
    EXPECT_EQ(ops().OpenHandles(), 0u);
    EXPECT_EQ(ReadBytes(ProgramPath("other.txt")), "");
}

TEST_F(TextStreamTest, AFailedWriteIsRaisedByCloseAndTheFileIsClosed) {
    for (const auto op : {FaultyFileOps::Op::Write, FaultyFileOps::Op::Close}) {
        SCOPED_TRACE(static_cast<int>(op));
        ops().Clear();
        ops().Inject({.op = op, .pathContains = "text.txt"});
        {
            TextStream stream = Files().CreateTextFile(Path());
            stream.Write("abc");
            try {
                stream.Close();
                ADD_FAILURE() << "Close did not raise the failure";
            } catch (const FileError& error) {
                EXPECT_EQ(error.path(), PathText(Disk()));
                EXPECT_EQ(error.reason(), "No space left on device");
            }
        }
        EXPECT_EQ(ops().OpenHandles(), 0u);
    }
    EXPECT_EQ(ops().Injected(), 2u);
}

}  // namespace
}  // namespace korvale::test
