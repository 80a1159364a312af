#include "SampleStations.h"

#include <array>

namespace TunewellBench {
namespace {

constexpr std::array<const char *, 8> kNames{"Rádio Ação",         "São João FM",      "Educadora Música",
                                             "Jovem Pan Notícias", "Cultura Clássica", "Antena Ilhéus",
                                             "Paraná Sertanejo",   "Gaúcha Esportes"};
constexpr std::array<const char *, 6> kStyles{"Música Popular Brasileira",
                                              "Sertanejo",
                                              "Notícias e Esportes",
                                              "Clássica",
                                              "Forró e Baião",
                                              "Rock Nacional"};
constexpr std::array<const char *, 6> kPlaces{"São Paulo", "Goiânia", "Florianópolis",
                                              "Belém",     "Maceió",  "Ribeirão Preto"};

} // namespace

std::string SampleName(int Index) {
    return std::string(kNames[Index % kNames.size()]) + " " + std::to_string(Index + 1);
}

std::string SampleStyle(int Index) {
    return kStyles[Index % kStyles.size()];
}

std::string SamplePlace(int Index) {
    return kPlaces[Index % kPlaces.size()];
}

} // namespace TunewellBench
