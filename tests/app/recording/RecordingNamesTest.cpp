#include "app/recording/FrameHead.h"
#include "app/recording/Id3v2Tag.h"
#include "app/recording/RecordingFileName.h"
#include "app/recording/RecordingFormat.h"

#include <gtest/gtest.h>

namespace Tunewell {
namespace {

struct SanitiseCase {
    const char *Why;
    QString Text;
    QString Expected;
};

TEST(RecordingNames, SanitisedFileNameIsSafeOnEveryFileSystem) {
    const SanitiseCase cases[] = {
        {"plain", u"Artist - Title"_qs, u"Artist - Title"_qs},
        {"separators", u"AC/DC - Back\\In Black"_qs, u"AC_DC - Back_In Black"_qs},
        {"refused elsewhere", u"What? <Live>: \"A|B*\""_qs, u"What_ _Live__ _A_B__"_qs},
        {"control characters",
         u"One\tTwo\nThree\x01"
         "Four\x7F"_qs,
         u"One Two Three Four"_qs},
        {"bidirectional marks", u"A\u202E\u200BB"_qs, u"A B"_qs},
        {"blanks run together", u"  A    B  "_qs, u"A B"_qs},
        {"leading dots", u"..hidden"_qs, u"hidden"_qs},
        {"dot only", u"."_qs, QString()},
        {"dot dot", u".."_qs, QString()},
        {"trailing dots and blanks", u"Title. . "_qs, u"Title"_qs},
        {"device name", u"con"_qs, u"_con"_qs},
        {"device name with extension", u"LPT1.mp3"_qs, u"_LPT1.mp3"_qs},
        {"device-like word", u"Console"_qs, u"Console"_qs},
        {"accents kept", u"Canção à noite"_qs, u"Canção à noite"_qs},
        {"nothing", QString(), QString()},
        {"blanks only", u" \t "_qs, QString()},
    };
    for (const SanitiseCase &test : cases)
        EXPECT_EQ(SanitisedFileName(test.Text), test.Expected) << test.Why;
}

TEST(RecordingNames, LongNamesAreCutAtWholeCharactersWithinTheBytes) {
    // "é" is two bytes and "🎵" four (a surrogate pair): a cut inside either would leave
    // half a character, which no file system takes as a name.
    struct Case {
        QString Unit;
        int MaxBytes;
    };
    for (const Case &test : {Case{u"a"_qs, 10}, Case{u"é"_qs, 9}, Case{u"🎵"_qs, 10}, Case{u"é🎵"_qs, 200}}) {
        const QString cut = SanitisedFileName(test.Unit.repeated(300), test.MaxBytes);
        EXPECT_LE(cut.toUtf8().size(), test.MaxBytes) << test.Unit.toStdString();
        EXPECT_GT(cut.toUtf8().size(), test.MaxBytes - 6) << test.Unit.toStdString();
        EXPECT_TRUE(test.Unit.repeated(300).startsWith(cut)) << test.Unit.toStdString();
        EXPECT_EQ(QString::fromUtf8(cut.toUtf8()), cut) << "whole characters";
    }
    // A cut that ends on a blank leaves none at the end.
    EXPECT_EQ(SanitisedFileName(u"abcd efgh"_qs, 5), u"abcd"_qs);
}

TEST(RecordingNames, FileNameHasTheTimeTheTitleAndTheExtension) {
    const QDateTime start(QDate(2026, 5, 1), QTime(21, 4, 59));
    EXPECT_EQ(RecordingFileName(start, u"Artist - Song/Remix"_qs, RecordingFormat::Mp3),
              u"2026-05-01 21-04-59 Artist - Song_Remix.mp3"_qs);
    EXPECT_EQ(RecordingFileName(start, u"..."_qs, RecordingFormat::Aac), u"2026-05-01 21-04-59.aac"_qs);
    const QString longest = RecordingFileName(start, QString(u'ß').repeated(500), RecordingFormat::Ogg);
    EXPECT_LE(longest.toUtf8().size(), 255);
    EXPECT_TRUE(longest.endsWith(u".ogg"_qs));
    EXPECT_EQ(RecordingFolderName(u"../.."_qs), u"_"_qs);
    EXPECT_EQ(RecordingFolderName(u".."_qs), u"Station"_qs);
}

TEST(RecordingFormats, OnlyStreamsThatPlayFromAnyFrameAreKeptAsSent) {
    struct Case {
        StreamKind Kind;
        std::optional<RecordingFormat> Expected;
    };
    const Case cases[] = {
        {{"audio/mpeg", 1, 3, ""}, RecordingFormat::Mp3},
        {{"audio/mpeg", 4, 0, "adts"}, RecordingFormat::Aac},
        {{"audio/mpeg", 2, 0, "adts"}, RecordingFormat::Aac},
        {{"application/ogg", 0, 0, ""}, RecordingFormat::Ogg},
        {{"audio/ogg", 0, 0, ""}, RecordingFormat::Ogg},
        {{"audio/mpeg", 4, 0, "raw"}, std::nullopt},
        {{"audio/mpeg", 4, 0, "loas"}, std::nullopt},
        {{"audio/mpeg", 1, 2, ""}, std::nullopt},
        {{"audio/x-flac", 0, 0, ""}, std::nullopt},
        {{"application/x-hls", 0, 0, ""}, std::nullopt},
        {{"", 0, 0, ""}, std::nullopt},
    };
    for (const Case &test : cases)
        EXPECT_EQ(RecordingFormatOf(test.Kind), test.Expected)
            << test.Kind.MediaType << " " << test.Kind.MpegVersion;
    EXPECT_EQ(ExtensionOf(RecordingFormat::Mp3), u"mp3"_qs);
    EXPECT_EQ(ExtensionOf(RecordingFormat::Aac), u"aac"_qs);
    EXPECT_EQ(ExtensionOf(RecordingFormat::Ogg), u"ogg"_qs);
}

TEST(RecordingFormats, AFrameIsTakenByAValidHeaderWithTheLengthItGives) {
    using namespace std::string_literals;
    using Kind = FrameHead::Kind;
    struct Case {
        const char *Why;
        RecordingFormat Format;
        std::string Bytes;
        FrameHead Expected;
    };
    const Case cases[] = {
        {"MPEG-1 layer III, 128 kbit/s at 44.1 kHz",
         RecordingFormat::Mp3,
         "\xFF\xFB\x90\x64zz"s,
         {Kind::Frame, 417}},
        {"the same padded", RecordingFormat::Mp3, "\xFF\xFB\x92\x64"s, {Kind::Frame, 418}},
        {"MPEG-2 layer III, 32 kbit/s at 22.05 kHz",
         RecordingFormat::Mp3,
         "\xFF\xF3\x40\xC4"s,
         {Kind::Frame, 104}},
        {"MPEG-2.5 layer III, 32 kbit/s at 11.025 kHz",
         RecordingFormat::Mp3,
         "\xFF\xE3\x40\xC4"s,
         {Kind::Frame, 208}},
        {"layer II is no MP3 frame", RecordingFormat::Mp3, "\xFF\xFD\x90\x64"s, {Kind::None, 0}},
        {"reserved version", RecordingFormat::Mp3, "\xFF\xEB\x90\x64"s, {Kind::None, 0}},
        {"bad bitrate", RecordingFormat::Mp3, "\xFF\xFB\xF0\x64"s, {Kind::None, 0}},
        {"free bitrate gives no length", RecordingFormat::Mp3, "\xFF\xFB\x00\x64"s, {Kind::None, 0}},
        {"reserved sample rate", RecordingFormat::Mp3, "\xFF\xFB\x9C\x64"s, {Kind::None, 0}},
        {"no sync", RecordingFormat::Mp3, "ab\xFF\xFB\x90\x64"s, {Kind::None, 0}},
        {"header cut at the end", RecordingFormat::Mp3, "\xFF\xFB\x90"s, {Kind::TooShort, 0}},
        {"ADTS of 64 bytes", RecordingFormat::Aac, "\xFF\xF1\x50\x80\x08\x1F\xFC"s, {Kind::Frame, 64}},
        {"ADTS shorter than its header",
         RecordingFormat::Aac,
         "\xFF\xF1\x50\x80\x00\x1F\xFC"s,
         {Kind::None, 0}},
        {"ADTS with a layer", RecordingFormat::Aac, "\xFF\xF3\x50\x80\x08\x1F\xFC"s, {Kind::None, 0}},
        {"ADTS header cut", RecordingFormat::Aac, "\xFF\xF1\x50\x80"s, {Kind::TooShort, 0}},
        {"Ogg page of two segments",
         RecordingFormat::Ogg,
         "OggS\x00\x02"s + std::string(20, '\0') + "\x02\x0A\x14"s,
         {Kind::Frame, 27 + 2 + 30}},
        {"Ogg page without its segment table",
         RecordingFormat::Ogg,
         "OggS\x00\x02"s + std::string(20, '\0') + "\x02\x0A"s,
         {Kind::TooShort, 0}},
        {"Ogg capture cut", RecordingFormat::Ogg, "Ogg"s, {Kind::TooShort, 0}},
        {"no Ogg page", RecordingFormat::Ogg, "OggXOggS"s, {Kind::None, 0}},
        {"unknown Ogg version", RecordingFormat::Ogg, "OggS\x01"s, {Kind::None, 0}},
    };
    for (const Case &test : cases) {
        const FrameHead head = ReadFrameHead(test.Format, test.Bytes);
        EXPECT_EQ(head.What, test.Expected.What) << test.Why;
        EXPECT_EQ(head.Length, test.Expected.Length) << test.Why;
    }
}

TEST(RecordingTags, Id3v2TagCarriesTitleArtistAndStation) {
    using namespace std::string_literals;
    EXPECT_EQ(RecordingTag(u"Ana - Canção"_qs, u"FM"_qs),
              "ID3\x04\x00\x00\x00\x00\x00\x2E"s // header, 46 bytes of frames
              "TIT2\x00\x00\x00\x09\x00\x00\x03"s
              "Canção" // 8 bytes of UTF-8 after the encoding
              "TPE1\x00\x00\x00\x04\x00\x00\x03"s
              "Ana"
              "TALB\x00\x00\x00\x03\x00\x00\x03"s
              "FM");
    EXPECT_EQ(Id3v2Tag({}, {}, {}), "");
    // A title without " - " is the title alone; sizes past 127 use seven bits a byte.
    const std::string tag = RecordingTag(QString(200, u'x'), {});
    EXPECT_EQ(tag.substr(6, 4), "\x00\x00\x01\x53"s); // 10 + 201 = 211 = 1 * 128 + 83
    EXPECT_EQ(tag.substr(10, 8), "TIT2\x00\x00\x01\x49"s);
}

} // namespace
} // namespace Tunewell
