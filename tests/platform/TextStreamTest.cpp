#include <algorithm>
#include <string>
#include <vector>

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
    TextStream Open(IOMode mode) const { return Files().GetFile(Path()).OpenAsTextStream(mode); }
};

std::size_t LineBreaks(std::string_view bytes) {
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// Many lines whose lengths vary, so that CR LF pairs fall across every read boundary.
std::string RaggedLines(std::vector<std::string>& lines) {
    std::string bytes;
    for (std::size_t i = 0; i < 20000; ++i) {
        lines.emplace_back(i % 97, static_cast<char>('a' + i % 26));
        bytes += lines.back() + "\r\n";
    }
    return bytes;
}

TEST_F(TextStreamTest, ReadsLinesAsTheFileHoldsThem) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    std::vector<Case> cases = {
        {"LF", "a\nb\n", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR stays in its line", "a\rb\r\nc", {"a\rb", "c"}},
        {"CR before CR LF", "a\r\r\n", {"a\r"}},
        {"CR at the very end", "a\r", {"a\r"}},
        {"no final break", "a\r\nb", {"a", "b"}},
        {"empty file", "", {}},
        {"blank lines", "\n\r\n\n", {"", "", ""}},
        {"spaces kept", "  a  \r\n", {"  a  "}},
        {"bytes 0x80-0xFF and NUL", "\x80\xE9\xFF\0x\r\n\0"s, {"\x80\xE9\xFF\0x"s, "\0"s}},
        {"line longer than any buffer",
         std::string(300000, 'x') + "\r\ny",
         {std::string(300000, 'x'), "y"}},
    };
    Case ragged{"CR LF across read boundaries", "", {}};
    ragged.bytes = RaggedLines(ragged.lines);
    cases.push_back(std::move(ragged));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(Disk(), c.bytes);
        TextStream stream = Open(IOMode::ForReading);
        EXPECT_EQ(stream.Line(), 1u);
        std::vector<std::string> read;
        while (!stream.AtEndOfStream()) {
            read.push_back(stream.ReadLine());
        }
        EXPECT_EQ(read, c.lines);
        EXPECT_EQ(stream.Line(), 1 + LineBreaks(c.bytes));
        EXPECT_TRUE(stream.AtEndOfStream());
        stream.Close();
    }
}

TEST_F(TextStreamTest, WritesExactBytesAndCountsLines) {
    WriteBytes(Disk(), "old content that must go");
    TextStream stream = Open(IOMode::ForWriting);
    EXPECT_EQ(stream.Line(), 1u);
    stream.Write("a");
    EXPECT_EQ(stream.Line(), 1u);
    stream.Write("b\r\n");
    EXPECT_EQ(stream.Line(), 2u);
    stream.WriteBlankLines(2);
    EXPECT_EQ(stream.Line(), 4u);
    stream.Write("\x80\0\xFF\rz"s);
    EXPECT_EQ(stream.Line(), 4u);
    // Line breaks far apart and close together, across the blocks they are counted in.
    std::string large(200000, '\xE9');
    for (std::size_t at = 0; at < large.size(); at += at < 1000 ? 1 : 997) {
        large[at] = '\n';
    }
    stream.Write(large + "\r\n");
    EXPECT_EQ(stream.Line(), 4u + 1000u + 200u + 1u);
    stream.Close();
    EXPECT_EQ(ReadBytes(Disk()), "ab\r\n\r\n\r\n\x80\0\xFF\rz"s + large + "\r\n");
}

TEST_F(TextStreamTest, AppendingStartsAtTheEndAndNumbersAfterTheLinesThere) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t line;
    };
    const Case cases[] = {
        {"empty file", "", 1},
        {"one line, no break", "a,1", 1},
        {"CR LF and LF breaks", "a\r\nb\nc", 3},
        {"lone CR is no break", "a\rb", 1},
        {"ends with a break", "a\r\n", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(Disk(), c.bytes);
        TextStream stream = Open(IOMode::ForAppending);
        EXPECT_EQ(stream.Line(), c.line);
        stream.WriteBlankLines(1);
        stream.Write("x");
        EXPECT_EQ(stream.Line(), c.line + 1);
        stream.Close();
        EXPECT_EQ(ReadBytes(Disk()), c.bytes + "\r\nx");
    }
}

TEST_F(TextStreamTest, ReleasedWithoutCloseLeavesNothingOpen) {
    WriteBytes(Disk(), "a\r\nb");
    {
        TextStream reading = Open(IOMode::ForReading);
        EXPECT_EQ(reading.ReadLine(), "a");
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
