#pragma once

#include "Cumulo/Types.h"

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace Tunewell {

class PublishPushKeys;
class WindowCloud;

// A whole station list, cut and keyed before anything is sent, so that it replaces the catalogue
// in one write: listeners see the old catalogue or the new one, never a part of either.
class PublishCatalogue {
public:
    static const Cumulo::TStringDynArray kPath;

    // One station record per line, numbered from 1 in line order, each under a fresh key.
    PublishCatalogue(const QStringList &Lines, PublishPushKeys &Keys);
    // Reads the whole list first (UTF-8, or Windows-1252 when it is not valid UTF-8); throws
    // EInOutError with the system's message when the file cannot be read.
    static PublishCatalogue FromFile(const QString &FileName, PublishPushKeys &Keys);

    // {key: station record, ...} in line order.
    const Cumulo::TJSONValue &Node() const { return fNode; }
    const std::vector<std::string> &Keys() const { return fKeys; }

    // Replaces the catalogue through the cloud's database client. Logs one line per station as an
    // added station would ("name: " and its key in double quotes), or the failure line, in which case
    // the cloud keeps its previous catalogue. True when written.
    bool Write(WindowCloud &Cloud) const;

private:
    Cumulo::TJSONValue fNode = Cumulo::TJSONValue::object();
    std::vector<std::string> fKeys;
};

} // namespace Tunewell
