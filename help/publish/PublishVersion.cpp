#include "help/publish/PublishVersion.h"

namespace Tunewell {

Cumulo::TJSONValue PublishVersionRecord(const std::string &Software, const std::string &Url) {
    Cumulo::TJSONValue Record = Cumulo::TJSONValue::object();
    Record["Software"] = Software;
    Record["Url"] = Url;
    return Record;
}

WriteOutcome PublishVersion(WindowCloud &Cloud, const std::string &Software, const std::string &Url) {
    return Cloud.Patch(kPublishVersionPath, PublishVersionRecord(Software, Url));
}

} // namespace Tunewell
