#include "TunewellCloud/CatalogueSeeder.h"

#include "TunewellCloud/Database.h"
#include "TunewellCloud/WriteRules.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace TunewellCloud::CatalogueSeeder {

namespace {

std::string trimmedLine(const std::string &text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The list is 8-bit text in the machine's code page; Latin-1 covers the station names.
std::string asUtf8(const std::string &line) {
    if (WriteRules::validUtf8(line))
        return line;
    std::string converted;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            converted += c;
        } else {
            converted += static_cast<char>(0xC0 | (byte >> 6));
            converted += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return converted;
}

} // namespace

std::vector<Json> stations(const std::filesystem::path &stationList) {
    std::ifstream in(stationList, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + stationList.string());
    std::vector<Json> records;
    std::string line;
    while (std::getline(in, line)) {
        line = asUtf8(line);
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (open == std::string::npos || close == open)
            continue;
        std::vector<std::string> fields;
        std::size_t start = open + 1;
        for (;;) {
            const auto bar = line.find('|', start);
            if (bar == std::string::npos || bar > close) {
                fields.push_back(line.substr(start, close - start));
                break;
            }
            fields.push_back(line.substr(start, bar - start));
            start = bar + 1;
        }
        if (fields.size() != 7)
            continue;
        records.push_back({{"num", std::to_string(records.size() + 1)},
                           {"url", trimmedLine(fields[0])},
                           {"nome", fields[1]},
                           {"estilo", fields[2]},
                           {"localizacao", trimmedLine(fields[3])},
                           {"qualidade", trimmedLine(fields[4])},
                           {"favorito", trimmedLine(fields[5])},
                           {"serie", trimmedLine(fields[6])}});
    }
    return records;
}

int seed(Database &database, const std::filesystem::path &stationList, const std::string &version,
         const std::string &downloadUrl) {
    std::vector<Json> records = stations(stationList);
    database.remove({"ESTACOES"});
    for (Json &station : records)
        database.post({"ESTACOES"}, std::move(station));
    database.patch({"VERSOES"}, Json{{"Software", version}, {"Url", downloadUrl}});
    return static_cast<int>(records.size());
}

} // namespace TunewellCloud::CatalogueSeeder
