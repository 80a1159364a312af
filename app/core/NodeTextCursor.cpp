#include "app/core/NodeTextCursor.h"

#include "Cumulo/Utf8.h"

#include <algorithm>

namespace Tunewell {

namespace {

// The readers' positions count characters; the text is UTF-8. A piece that ends or starts a
// character away from an ASCII delimiter moves by that character's bytes, never into it.
std::size_t FirstCharacterBytes(std::string_view Text) {
    std::size_t bytes = Text.empty() ? 0 : 1;
    while (bytes < Text.size() && Cumulo::IsUtf8Continuation(Text[bytes])) {
        ++bytes;
    }
    return bytes;
}

std::string_view DropLastCharacters(std::string_view Text, std::ptrdiff_t Count) {
    for (; Count > 0 && !Text.empty(); --Count) {
        std::size_t last = Text.size() - 1;
        while (last > 0 && Cumulo::IsUtf8Continuation(Text[last])) {
            --last;
        }
        Text = Text.substr(0, last);
    }
    return Text;
}

} // namespace

std::string InnerText(std::string NodeText, bool AppendComma) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::string inner;
    if (NodeText.find_first_of("\r\n") == std::string::npos) {
        // The normalised text is this text plus CR LF, which trimming drops again; the inner
        // text lies within this text.
        const auto first = std::find_if_not(NodeText.begin(), NodeText.end(), blank);
        const auto last = std::find_if_not(NodeText.rbegin(), NodeText.rend(), blank).base();
        const std::ptrdiff_t count = (first < last ? last - first : 0) - 2;
        if (count < 1 || NodeText.size() < 2) {
            NodeText.clear();
        } else {
            NodeText.resize(static_cast<std::size_t>(count) + 1);
            NodeText.erase(0, 1);
        }
        inner = std::move(NodeText);
    } else {
        std::string normalised;
        normalised.reserve(NodeText.size() + 3);
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < NodeText.size(); ++i) {
            if (NodeText[i] == '\r' || NodeText[i] == '\n') {
                normalised.append(NodeText, lineStart, i - lineStart).append("\r\n");
                if (NodeText[i] == '\r' && i + 1 < NodeText.size() && NodeText[i + 1] == '\n') {
                    ++i;
                }
                lineStart = i + 1;
            }
        }
        if (lineStart < NodeText.size()) {
            normalised.append(NodeText, lineStart).append("\r\n");
        }
        NodeText = std::string();
        const auto first = std::find_if_not(normalised.begin(), normalised.end(), blank);
        const auto last = std::find_if_not(normalised.rbegin(), normalised.rend(), blank).base();
        const std::ptrdiff_t trimmed = first < last ? last - first : 0;
        inner = std::string(TNodeTextCursor(normalised).Copy(2, trimmed - 2));
    }
    if (AppendComma) {
        inner += ',';
    }
    return inner;
}

std::size_t TNodeTextCursor::Find(std::string_view Needle) const {
    const std::size_t at = Rest().find(Needle);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string_view TNodeTextCursor::Copy(std::ptrdiff_t Start, std::ptrdiff_t Count) const {
    const std::string_view rest = Rest();
    const std::size_t from = static_cast<std::size_t>(std::max<std::ptrdiff_t>(Start, 1) - 1);
    if (Count < 1 || from >= rest.size()) {
        return {};
    }
    return rest.substr(from, static_cast<std::size_t>(Count));
}

void TNodeTextCursor::DropBefore(std::ptrdiff_t Start) {
    const std::size_t drop = static_cast<std::size_t>(std::max<std::ptrdiff_t>(Start, 1) - 1);
    fStart = std::min(fStart + drop, fText.size());
}

std::string_view TNodeTextCursor::CopyInside(std::size_t Position) const {
    if (Position == 0) {
        return {};
    }
    std::string_view before = Rest().substr(0, Position - 1);
    before.remove_prefix(FirstCharacterBytes(before));
    return DropLastCharacters(before, 1);
}

std::string_view TNodeTextCursor::Take(std::string_view Delimiter, std::ptrdiff_t Back) {
    const std::size_t p = Find(Delimiter);
    const std::string_view piece =
        p == 0 ? std::string_view() : DropLastCharacters(Rest().substr(0, p - 1), Back - 1);
    // remove(1, p): nothing when p is 0.
    fStart += p;
    return piece;
}

void TNodeTextCursor::HeadCut() {
    const std::size_t e = Find("},");
    fStart += e == 0 ? FirstCharacterBytes(Rest()) : e + 1;
}

std::size_t TRepeatedFind::In(const TNodeTextCursor &Cursor) {
    const std::size_t start = Cursor.Consumed();
    if (!fSearched || (fAbsolute != std::string_view::npos && fAbsolute < start)) {
        const std::size_t at = Cursor.Rest().find(fNeedle);
        fAbsolute = at == std::string_view::npos ? at : start + at;
        fSearched = true;
    }
    return fAbsolute == std::string_view::npos ? 0 : fAbsolute - start + 1;
}

} // namespace Tunewell
