#include "LiteralCatalogueReader.h"

#include "app/core/StationTable.h"

#include <Cumulo/JsonText.h>
#include <algorithm>
#include <string>

namespace Tunewell {

namespace {

using Text = std::string;

std::ptrdiff_t Pos(const Text &Needle, const Text &S) {
    const auto at = S.find(Needle);
    return at == Text::npos ? 0 : static_cast<std::ptrdiff_t>(at) + 1;
}

Text Copy(const Text &S, std::ptrdiff_t Start, std::ptrdiff_t Count) {
    Start = std::max<std::ptrdiff_t>(Start, 1);
    if (Count < 1 || Start > static_cast<std::ptrdiff_t>(S.size())) {
        return {};
    }
    return S.substr(static_cast<std::size_t>(Start - 1), static_cast<std::size_t>(Count));
}

Text Trimmed(const Text &S) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    const auto first = std::find_if_not(S.begin(), S.end(), blank);
    const auto last = std::find_if_not(S.rbegin(), S.rend(), blank).base();
    return first < last ? Text(first, last) : Text();
}

// Break at every CR, LF or CR LF; join with CR LF after each line.
Text Normalised(const Text &S) {
    Text out;
    Text line;
    bool pending = false;
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] == '\r' || S[i] == '\n') {
            out += line + "\r\n";
            line.clear();
            pending = false;
            if (S[i] == '\r' && i + 1 < S.size() && S[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += S[i];
            pending = true;
        }
    }
    if (pending) {
        out += line + "\r\n";
    }
    return out;
}

Text Bare(const Cumulo::TJSONValue &Record, const char *Name) {
    Text value = Cumulo::NodeText(Record.at(Name));
    value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
    return value;
}

} // namespace

void LiteralReadCatalogueText(std::string_view NodeText, TStationTable &Table) {
    const Text t = Normalised(Text(NodeText));
    Text s = Copy(t, 2, static_cast<std::ptrdiff_t>(Trimmed(t).size()) - 2) + ",";
    while (!s.empty()) {
        const Text before = s;
        try {
            const auto e = Pos("},", s);
            const auto b = Pos(":{", s) + 1;
            const Text key = Copy(s, 2, Pos(":", s) - 3);
            const Text record = Copy(s, b, e - b + 1);
            const auto value = Cumulo::TJSONValue::parse(record, nullptr, false);
            if (value.is_discarded() || value.is_object()) {
                s = Copy(s, e + 2, static_cast<std::ptrdiff_t>(s.size()) - e + 1);
                if (!value.is_discarded() && value.contains("num") && !Bare(value, "num").empty()) {
                    Table.Append();
                    Table.SetField("ID", key);
                    Table.SetField("num", Bare(value, "num"));
                    Table.SetField("estilo", Bare(value, "estilo"));
                    Table.SetField("url", Bare(value, "url"));
                    Table.SetField("favoritos", Bare(value, "favorito"));
                    Table.SetField("local", Bare(value, "localizacao"));
                    Table.SetField("nome", Bare(value, "nome"));
                    Table.SetField("qualidade", Bare(value, "qualidade"));
                    Table.SetField("serie", Bare(value, "serie"));
                    Table.Post();
                }
            }
        } catch (const std::exception &) {
        }
        Table.First();
        if (s == before) {
            break;
        }
    }
}

} // namespace Tunewell
