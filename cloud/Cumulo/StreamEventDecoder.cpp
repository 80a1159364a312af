#include "Cumulo/StreamEventDecoder.h"

#include "Cumulo/JsonParse.h"

namespace Cumulo {

TDecodedStreamEvent DecodeStreamEvent(const TStreamEvent &Event) {
    TDecodedStreamEvent decoded;
    if (Event.Name == "keep-alive") {
        decoded.Kind = TStreamEventKind::KeepAlive;
        return decoded;
    }
    if (Event.Name == "auth_revoked") {
        decoded.Kind = TStreamEventKind::AuthRevoked;
        return decoded;
    }
    if (Event.Data.empty())
        return decoded;
    TOptionalJSON value = ParseJSON(Event.Data);
    if (!value) {
        decoded.Kind = TStreamEventKind::NotJSON;
        decoded.Problem = "Data of event " + Event.Name + " is not JSON: " + Event.Data;
    } else if (!value->is_object()) {
        decoded.Kind = TStreamEventKind::NotObject;
        decoded.Problem =
            "Data of event " + Event.Name + " is a JSON " + value->type_name() + ", not an object";
    } else {
        decoded.Kind = TStreamEventKind::Change;
        decoded.Object = std::move(*value);
    }
    return decoded;
}

} // namespace Cumulo
