#include "app/core/KeptFileWriter.h"

#include "app/core/KeptCatalogueError.h"

#include <QIODevice>
#include <algorithm>
#include <type_traits>
#include <zlib.h>

namespace Tunewell {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;

template <class Integer> void PutLittleEndian(std::string &Buffer, Integer Value) {
    auto bits = static_cast<std::make_unsigned_t<Integer>>(Value);
    for (std::size_t i = 0; i < sizeof(Integer); ++i) {
        Buffer.push_back(static_cast<char>(bits & 0xFF));
        bits >>= 8;
    }
}
} // namespace

KeptFileWriter::KeptFileWriter(QIODevice &Device) : Device_(Device), Crc_(crc32(0L, Z_NULL, 0)) {
    Buffer_.reserve(kBufferSize);
}

void KeptFileWriter::Raw(std::string_view Bytes) {
    while (!Bytes.empty()) {
        const std::size_t room = kBufferSize - Buffer_.size();
        const std::size_t taken = std::min(room, Bytes.size());
        Buffer_.append(Bytes.substr(0, taken));
        Bytes.remove_prefix(taken);
        if (Buffer_.size() == kBufferSize)
            Flush();
    }
}

void KeptFileWriter::U8(std::uint8_t Value) {
    const char byte = static_cast<char>(Value);
    Raw(std::string_view(&byte, 1));
}

void KeptFileWriter::U32(std::uint32_t Value) {
    std::string bytes;
    PutLittleEndian(bytes, Value);
    Raw(bytes);
}

void KeptFileWriter::I64(std::int64_t Value) {
    std::string bytes;
    PutLittleEndian(bytes, Value);
    Raw(bytes);
}

void KeptFileWriter::Text(std::string_view Bytes) {
    if (Bytes.size() > UINT32_MAX)
        throw EKeptCatalogueError("A text is too long to be kept");
    U32(static_cast<std::uint32_t>(Bytes.size()));
    Raw(Bytes);
}

void KeptFileWriter::Finish() {
    Flush();
    std::string checksum;
    PutLittleEndian(checksum, static_cast<std::uint32_t>(Crc_));
    WriteOut(checksum);
}

void KeptFileWriter::Flush() {
    Crc_ = crc32(Crc_, reinterpret_cast<const Bytef *>(Buffer_.data()), static_cast<uInt>(Buffer_.size()));
    WriteOut(Buffer_);
    Buffer_.clear();
}

void KeptFileWriter::WriteOut(const std::string &Bytes) {
    if (Device_.write(Bytes.data(), static_cast<qint64>(Bytes.size())) != static_cast<qint64>(Bytes.size()))
        throw EKeptCatalogueError(Device_.errorString().toStdString());
}

} // namespace Tunewell
