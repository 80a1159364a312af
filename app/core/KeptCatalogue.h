#pragma once

#include "app/core/StationTable.h"

#include <Cumulo/Types.h>
#include <QString>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace Tunewell {

// The profile's nodes as the start-up sequence last read them, kept beside the catalogue so
// that favourites and the last station can be restored without the cloud.
struct KeptProfile {
    // Empty without a profile; the nodes belong to this profile only.
    std::string ProfileID;
    std::optional<Cumulo::TJSONValue> Last;
    std::optional<Cumulo::TJSONValue> Favourites;
    // The profile's own stations (PROPRIAS); none in a file kept before they existed.
    std::optional<Cumulo::TJSONValue> Own;
};

// A kept catalogue as read back.
struct KeptCatalogueCopy {
    // When the cloud answered with this catalogue.
    std::time_t ReadAt = 0;
    KeptProfile Profile;
    std::vector<TStationRow> Rows;
};

struct KeptCatalogueRead {
    enum class TOutcome {
        Kept,
        // Nothing kept yet.
        Missing,
        // A damaged or foreign file, or one of another format version: ignored.
        Unusable,
    };
    TOutcome Outcome = TOutcome::Missing;
    // Why an unusable file was ignored.
    std::string Problem;
    KeptCatalogueCopy Copy;
};

// The last catalogue read from the cloud, kept in one file so the program can show it when the
// cloud cannot be reached. The file is written whole beside the old one and renamed over it, so
// a failed or interrupted write leaves the previous copy; it carries a format version and a
// checksum, and a file that fails either is never used.
class KeptCatalogue {
public:
    explicit KeptCatalogue(QString FilePath);

    // The file in the user's cache folder.
    static QString DefaultFilePath();
    const QString &FilePath() const { return FilePath_; }

    // Keeps the rows in their order with the profile's nodes. Rows are streamed to the file, not
    // copied. Throws EKeptCatalogueError when the file cannot be written.
    void Keep(const std::vector<TStationRow> &Rows, const KeptProfile &Profile, std::time_t ReadAt) const;
    KeptCatalogueRead Read() const;

private:
    QString FilePath_;
};

} // namespace Tunewell
