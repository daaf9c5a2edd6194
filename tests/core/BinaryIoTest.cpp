// Little-endian reading and writing, and the refusal of short files.
#include "core/BinaryReader.h"
#include "core/BinaryWriter.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv {
namespace {

TEST(BinaryIo, RoundTripsEveryType) {
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
    // Little-endian on disk whatever the machine.
    EXPECT_EQ(w.Data()[0], 24);
    EXPECT_EQ(w.Data()[1], 0);

    BinaryReader r("test.bin", w.Take());
    EXPECT_EQ(r.I32(), 24);
    EXPECT_EQ(r.U8(), 0xFE);
    EXPECT_EQ(r.I16(), -2);
    EXPECT_EQ(r.U32(), 0xDEADBEEFu);
    EXPECT_EQ(r.I64(), -1234567890123LL);
    EXPECT_EQ(r.F32(), -3.25f);
    EXPECT_EQ(r.F64(), 1e300);
    EXPECT_EQ(r.String(), "Zelkor.Missing");
    EXPECT_EQ(r.String(), "");
    const auto block = r.Block(3);
    EXPECT_EQ(block[2], 3);
    EXPECT_TRUE(r.AtEnd());
}

TEST(BinaryIo, TruncatedFileNamesFileAndOffset) {
    test::TempDir dir;
    BinaryWriter w;
    w.I32(16);
    w.I32(1000); // announces far more than follows
    w.U8(7);
    w.U8(7);
    const std::string path = dir / "K_MedFont.font";
    ASSERT_TRUE(w.SaveTo(path));

    auto r = BinaryReader::OpenFile(path);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->I32(), 16);
    EXPECT_EQ(test::CatchFatal([&] { r->Count(4); }), "Unexpected end of file (" + path + ", offset 4)");
    r->Seek(8);
    EXPECT_EQ(test::CatchFatal([&] { r->U32(); }), "Unexpected end of file (" + path + ", offset 8)");
    r->Seek(8);
    EXPECT_EQ(test::CatchFatal([&] { r->String(); }), "Unexpected end of file (" + path + ", offset 10)");

    BinaryWriter negative;
    negative.I32(-5);
    BinaryReader n("neg.bin", negative.Take());
    EXPECT_EQ(test::CatchFatal([&] { n.Count(1); }), "Unexpected end of file (neg.bin, offset 0)");
    EXPECT_FALSE(BinaryReader::OpenFile(dir / "absent.bin").has_value());
}

TEST(BinaryIo, ReaderMovesKeepTheirBytes) {
    BinaryWriter w;
    w.I32(77);
    BinaryReader a("a", w.Take());
    BinaryReader b = std::move(a);
    EXPECT_EQ(b.I32(), 77);
}

} // namespace
} // namespace orv
