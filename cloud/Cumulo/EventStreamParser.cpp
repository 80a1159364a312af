#include "Cumulo/EventStreamParser.h"

#include <stdexcept>

namespace Cumulo {

namespace {
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
}

TEventStreamParser::TEventStreamParser(std::size_t MaxPendingBytes) : fMaxPendingBytes(MaxPendingBytes) {}

void TEventStreamParser::Reset() {
    fLine.clear();
    fName.clear();
    fData.clear();
    fHasData = false;
    fHasField = false;
    fAfterCR = false;
    fAtStart = true;
}

std::vector<TStreamEvent> TEventStreamParser::Feed(std::string_view Bytes) {
    std::vector<TStreamEvent> events;
    std::size_t pos = 0;
    if (fAfterCR && !Bytes.empty()) {
        fAfterCR = false;
        if (Bytes.front() == '\n')
            pos = 1;
    }
    while (pos < Bytes.size()) {
        const std::size_t end = Bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            fLine.append(Bytes.substr(pos));
            CheckPendingSize();
            break;
        }
        std::string_view line = Bytes.substr(pos, end - pos);
        if (!fLine.empty()) {
            fLine.append(line);
            TakeLine(fLine, events);
            fLine.clear();
        } else {
            TakeLine(line, events);
        }
        pos = end + 1;
        if (Bytes[end] == '\r') {
            if (pos == Bytes.size())
                fAfterCR = true;
            else if (Bytes[pos] == '\n')
                ++pos;
        }
    }
    return events;
}

void TEventStreamParser::TakeLine(std::string_view Line, std::vector<TStreamEvent> &Events) {
    if (fAtStart) {
        fAtStart = false;
        if (Line.starts_with(ByteOrderMark))
            Line.remove_prefix(ByteOrderMark.size());
    }
    if (Line.empty()) {
        if (fHasField)
            Events.push_back({std::move(fName), std::move(fData)});
        fName.clear();
        fData.clear();
        fHasData = false;
        fHasField = false;
        return;
    }
    // A line starting with a colon is a comment.
    if (Line.front() == ':')
        return;
    const std::size_t colon = Line.find(':');
    const std::string_view field = Line.substr(0, colon);
    std::string_view value;
    if (colon != std::string_view::npos) {
        value = Line.substr(colon + 1);
        if (value.starts_with(' '))
            value.remove_prefix(1);
    }
    if (field == "event") {
        fName.assign(value);
        fHasField = true;
    } else if (field == "data") {
        if (fHasData)
            fData.push_back('\n');
        fData.append(value);
        fHasData = true;
        fHasField = true;
    }
    // Other fields (id, retry) carry nothing this client uses.
    CheckPendingSize();
}

void TEventStreamParser::CheckPendingSize() const {
    if (fLine.size() + fName.size() + fData.size() > fMaxPendingBytes)
        throw std::length_error("Event stream event exceeds " + std::to_string(fMaxPendingBytes) + " bytes");
}

} // namespace Cumulo
