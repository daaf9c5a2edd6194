// Little-endian writing and reading through a file. Every refusal of a short file is checked
// format by format in the content tests (ReaderRobustness).
#include "core/BinaryReader.h"
#include "core/BinaryWriter.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(BinaryIo, EveryTypeRoundTripsThroughAFileAndAMovedReaderKeepsItsPlace) {
    BinaryWriter w;
    w.I32(24);
    w.U8(0xFE);
    w.I16(-2);
    w.U32(0xDEADBEEF);
    w.I64(-1234567890123LL);
    w.F32(-3.25f);
    w.F64(1e300);
    w.String("Zelkor.Missing");
    w.String("");
    w.Bytes("\x01\x02\x03", 3);
    EXPECT_EQ(w.Data()[0], 24) << "little-endian on disk whatever the machine";
    test::TempDir dir;
    ASSERT_TRUE(w.SaveTo(dir / "test.bin"));
    EXPECT_FALSE(BinaryReader::OpenFile(dir / "absent.bin").has_value());
    std::optional<BinaryReader> file = BinaryReader::OpenFile(dir / "TEST.BIN");
    ASSERT_TRUE(file.has_value());

    EXPECT_EQ(file->I32(), 24);
    EXPECT_EQ(file->U8(), 0xFE);
    BinaryReader r = std::move(*file);
    EXPECT_EQ(r.I16(), -2);
    EXPECT_EQ(r.U32(), 0xDEADBEEFu);
    EXPECT_EQ(r.I64(), -1234567890123LL);
    EXPECT_EQ(r.F32(), -3.25f);
    EXPECT_EQ(r.F64(), 1e300);
    EXPECT_EQ(r.String(), "Zelkor.Missing");
    EXPECT_EQ(r.String(), "");
    EXPECT_EQ(r.Block(3)[2], 3);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(test::CatchFatal([&] { r.U8(); }),
              "Unexpected end of file (" + (dir / "TEST.BIN") + ", offset " + std::to_string(r.Size()) + ")");
}

} // namespace
} // namespace orv
