#include "app/core/KeptFileWriter.h"

#include "app/core/KeptCatalogueError.h"

#include <QIODevice>
#include <algorithm>
#include <type_traits>
#include <zlib.h>

namespace Tunewell {

namespace {
constexpr std::size_t kWriteBufferSize = 64 * 1024;
} // namespace

KeptFileWriter::KeptFileWriter(QIODevice &Device) : Device_(Device), Crc_(crc32(0L, Z_NULL, 0)) {
    Buffer_.reserve(kWriteBufferSize);
}

void KeptFileWriter::Raw(std::string_view Bytes) {
    while (!Bytes.empty()) {
        const std::size_t taken = std::min(kWriteBufferSize - Buffer_.size(), Bytes.size());
        Buffer_.append(Bytes.substr(0, taken));
        Bytes.remove_prefix(taken);
        if (Buffer_.size() == kWriteBufferSize)
            Flush();
    }
}

template <class Integer> void KeptFileWriter::LittleEndian(Integer Value) {
    char bytes[sizeof(Integer)];
    auto bits = static_cast<std::make_unsigned_t<Integer>>(Value);
    for (char &byte : bytes) {
        byte = static_cast<char>(bits & 0xFF);
        bits = static_cast<decltype(bits)>(bits >> 8);
    }
    Raw(std::string_view(bytes, sizeof bytes));
}

void KeptFileWriter::U8(std::uint8_t Value) {
    LittleEndian(Value);
}

void KeptFileWriter::U32(std::uint32_t Value) {
    LittleEndian(Value);
}

void KeptFileWriter::I64(std::int64_t Value) {
    LittleEndian(Value);
}

void KeptFileWriter::Text(std::string_view Bytes) {
    if (Bytes.size() > UINT32_MAX)
        throw EKeptCatalogueError("A text is too long to be kept");
    U32(static_cast<std::uint32_t>(Bytes.size()));
    Raw(Bytes);
}

void KeptFileWriter::Finish() {
    Flush();
    // The checksum itself is not part of what it sums.
    const auto crc = static_cast<std::uint32_t>(Crc_);
    LittleEndian(crc);
    WriteOut(Buffer_);
    Buffer_.clear();
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
