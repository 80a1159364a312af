#include "Player/GstErrorKind.h"

namespace Player {

FailureKind failureKindOf(const GError &error) {
    if (error.domain == GST_RESOURCE_ERROR && error.code == GST_RESOURCE_ERROR_NOT_FOUND) {
        return FailureKind::NotFound;
    }
    if (error.domain == GST_CORE_ERROR && error.code == GST_CORE_ERROR_MISSING_PLUGIN) {
        return FailureKind::Unsupported;
    }
    if (error.domain == GST_STREAM_ERROR) {
        switch (error.code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
        case GST_STREAM_ERROR_CODEC_NOT_FOUND:
        case GST_STREAM_ERROR_NOT_IMPLEMENTED:
        case GST_STREAM_ERROR_FORMAT:
            return FailureKind::Unsupported;
        default:
            break;
        }
    }
    return FailureKind::Network;
}

} // namespace Player
