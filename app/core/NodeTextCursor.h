#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Tunewell {

// The inner text the readers start from: the node text with its line ends normalised to
// CR LF after every line, then the characters from position 2 on, as many as its length
// without leading and trailing characters up to U+0020, minus 2 (for an object: everything
// between the outer braces). With AppendComma a "," is added. A text without line breaks is
// cut in place, so a catalogue's text is not copied.
std::string InnerText(std::string NodeText, bool AppendComma);

// The readers' working text s, which only ever loses characters at its front: a view into
// one buffer plus an offset, so no pass copies the rest of the text. Positions are 1-based
// and 0 means "absent", as in the readers' rules. Positions and counts are bytes of UTF-8
// where the readers' delimiters (all ASCII) bound them; where a rule counts characters off
// a delimiter (Take, CopyInside, HeadCut) a character is taken or left whole.
class TNodeTextCursor {
public:
    explicit TNodeTextCursor(std::string_view Text) : fText(Text) {}

    std::string_view Rest() const { return fText.substr(fStart); }
    bool Empty() const { return fStart >= fText.size(); }
    std::size_t Length() const { return fText.size() - fStart; }
    // How many characters have been dropped so far; a pass that leaves it unchanged left
    // s unchanged.
    std::size_t Consumed() const { return fStart; }

    // find(Needle, s).
    std::size_t Find(std::string_view Needle) const;
    // copy(s, Start, Count).
    std::string_view Copy(std::ptrdiff_t Start, std::ptrdiff_t Count) const;
    // s := copy(s, Start, rest): drops the characters before Start (a start below 1 counts
    // as 1, a start past the end leaves s empty).
    void DropBefore(std::ptrdiff_t Start);
    // copy(s, 2, Position - 3) for the position of a delimiter: the characters before it,
    // less the first and the last.
    std::string_view CopyInside(std::size_t Position) const;
    // take(Delimiter, Back), Back 1 or more: the piece before the delimiter less Back - 1
    // characters, then s loses everything through the delimiter; nothing happens when the
    // delimiter is absent.
    std::string_view Take(std::string_view Delimiter, std::ptrdiff_t Back);
    // The head cut: drops everything through the first "}," (the first character when there
    // is none).
    void HeadCut();

private:
    std::string_view fText;
    std::size_t fStart = 0;
};

// find(Needle, s) for a reader that searches for the same needle again and again while s
// shrinks: the first occurrence at or after the front stays valid until the front passes
// it, and an absent needle stays absent, so the text is searched once in total.
class TRepeatedFind {
public:
    explicit TRepeatedFind(std::string_view Needle) : fNeedle(Needle) {}
    std::size_t In(const TNodeTextCursor &Cursor);

private:
    std::string_view fNeedle;
    bool fSearched = false;
    std::size_t fAbsolute = 0; // npos: absent from here to the end
};

} // namespace Tunewell
