#include "io/byte_reader.h"
#include "io/byte_writer.h"
#include "io/format_error.h"

#include <gtest/gtest.h>

namespace veltrane::io {
namespace {

std::string messageOf(auto&& step) {
    try {
        step();
    } catch (const FormatError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ByteReader, ReadsWhatTheWriterWroteLittleEndianCountedTablesIncluded) {
    ByteWriter out;
    out.u8(0xAB);
    out.u16(0x1234);
    out.i16(-2);
    out.u32(0xDEADBEEF);
    out.i32(-70000);
    out.countedArray(std::vector<std::uint16_t>{1, 2, 3}, "words");
    EXPECT_EQ(out.data()[1], 0x34);
    EXPECT_EQ(out.data()[2], 0x12);
    EXPECT_EQ(out.data()[13], 3) << "a counted table starts with its 32-bit count";

    ByteReader in(out.data(), "block");
    EXPECT_EQ(in.u8("a"), 0xAB);
    EXPECT_EQ(in.u16("b"), 0x1234);
    EXPECT_EQ(in.i16("c"), -2);
    EXPECT_EQ(in.u32("d"), 0xDEADBEEFu);
    EXPECT_EQ(in.i32("e"), -70000);
    EXPECT_EQ(in.countedArray<std::uint16_t>("f"), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_TRUE(in.atEnd());
}

TEST(ByteReader, AReadPastTheEndNamesTheFieldAndMovesNothing) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    ByteReader in(bytes, "block");
    in.u16("first");
    EXPECT_EQ(messageOf([&] { in.u32("sector table"); }),
              "sector table runs past the end of the block (byte 2: 4 bytes needed, 1 left)");
    EXPECT_EQ(in.position(), 2u);
    EXPECT_EQ(in.u8("last"), 3);
    EXPECT_EQ(messageOf([&] { ByteReader(bytes, "file").countedArray<std::uint8_t>("texture bytes"); }),
              "texture bytes count runs past the end of the file (byte 0: 4 bytes needed, 3 left)");
}

TEST(ByteReader, AHugeCountIsRefusedBeforeAnythingIsAllocated) {
    const std::vector<std::uint8_t> bytes(16);
    ByteReader in(bytes, "file");
    // 0xFFFFFFFF records of 46 bytes would be 197 GB; the check must not overflow or allocate.
    using Light = std::array<std::uint8_t, 46>;
    EXPECT_THROW(in.array<Light>(0xFFFFFFFFull, "light table"), FormatError);
    EXPECT_THROW(in.array<std::uint8_t>(~0ull, "bytes"), FormatError);
    EXPECT_EQ(in.position(), 0u);
    EXPECT_NO_THROW(in.array<std::uint8_t>(16, "all"));
}

TEST(ByteWriter, ATableTooLongForItsCountIsRefusedWithItsName) {
    EXPECT_EQ(checkedCount<std::uint16_t>(65535, "lights"), 65535);
    EXPECT_EQ(messageOf([] { checkedCount<std::uint16_t>(65536, "light table"); }),
              "light table has 65536 entries, more than its count holds");
    EXPECT_THROW(checkedCount<std::int16_t>(32768, "vertex table"), FormatError);
}

} // namespace
} // namespace veltrane::io
