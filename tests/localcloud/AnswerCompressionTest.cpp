#include "TunewellCloud/AnswerCompression.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace TunewellCloud::AnswerCompression;

namespace {

TEST(AnswerCompression, AcceptsGzipWhereTheClientSaysSo) {
    const struct {
        const char *AcceptEncoding;
        bool Accepted;
    } cases[] = {
        {"", false},
        {"gzip", true},
        {"deflate, gzip, br, zstd", true},
        {"GZIP", true},
        {"x-gzip", true},
        {"br;q=1.0, gzip;q=0.5", true},
        {"gzip;q=0", false},
        {"gzip; q=0.0, *", false},
        {"*", true},
        {"*;q=0", false},
        {"identity", false},
        {"br, deflate", false},
        {"gzipped", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(acceptsGzip(c.AcceptEncoding), c.Accepted) << '"' << c.AcceptEncoding << '"';
}

TEST(AnswerCompression, GzipIsReadBackWhole) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += R"({"nome":"Rádio )" + std::to_string(i) + R"("},)";
    const std::string compressed = gzip(text);
    ASSERT_GE(compressed.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(compressed[0]), 0x1f); // the gzip magic
    EXPECT_EQ(static_cast<unsigned char>(compressed[1]), 0x8b);
    EXPECT_LT(compressed.size(), text.size() / 4);

    z_stream stream{};
    ASSERT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);
    std::string back(text.size() + 1, '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef *>(back.data());
    stream.avail_out = static_cast<uInt>(back.size());
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    back.resize(stream.total_out);
    inflateEnd(&stream);
    EXPECT_EQ(back, text);
    EXPECT_EQ(gzip(""), gzip(""));
}

} // namespace
