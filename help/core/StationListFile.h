#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace Tunewell {

// A station list that cannot be opened or read; the message is the system's text.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The lines of a station list file (CR, LF or CR LF end a line; a last line without an end
// counts). The bytes are read as UTF-8 when they are valid UTF-8 (a leading byte order mark
// is dropped), otherwise as Windows-1252, the code page the list was written in.
QStringList ReadStationList(const QString &Path);

// The same decision for bytes already read.
QString DecodeStationList(const QByteArray &Bytes);

} // namespace Tunewell
