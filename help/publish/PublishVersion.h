#pragma once

#include "Cumulo/Types.h"
#include "shared/core/WindowCloud.h"

#include <string>

namespace Tunewell {

// The published version: the one node every start compares its own version with.
inline const Cumulo::TStringDynArray kPublishVersionPath{"VERSOES"};

// {"Software": Software, "Url": Url}, both as typed.
Cumulo::TJSONValue PublishVersionRecord(const std::string &Software, const std::string &Url);

// Merges the record into the node, so its other members stay, and logs the answer or the failure
// line. The cloud must already hold a database client.
WriteOutcome PublishVersion(WindowCloud &Cloud, const std::string &Software, const std::string &Url);

} // namespace Tunewell
