#pragma once

#include "Cumulo/StreamEvent.h"
#include "Cumulo/Types.h"

#include <string>

namespace Cumulo {

// What the listener does with one event of the database's stream.
enum class TStreamEventKind {
    KeepAlive,   // the connection is alive; nothing is delivered
    AuthRevoked, // the ID token must be renewed before the next connection
    Change,      // a change to deliver: Object holds the data
    Ignored,     // an event without data
    NotJSON,     // data that is not JSON; Problem tells why
    NotObject,   // JSON data of another kind than an object; Problem tells which
};

struct TDecodedStreamEvent {
    TStreamEventKind Kind = TStreamEventKind::Ignored;
    TJSONValue Object;
    std::string Problem;
};

TDecodedStreamEvent DecodeStreamEvent(const TStreamEvent &Event);

} // namespace Cumulo
