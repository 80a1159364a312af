#include "app/core/CloudFailureText.h"

#include "shared/core/TimeText.h"

namespace Tunewell {

namespace {
// Opening and closing a window makes the main window active again, which reads the cloud anew.
const std::string kTryAgainEnglish = "open and close the About window, or start the program again.";
const std::string kTryAgainPortuguese = "abra e feche a janela About, ou inicie o programa de novo.";
} // namespace

std::string KeptCatalogueStatusText(std::time_t ReadAt) {
    const std::string date = DateText(ReadAt);
    return "Catalogue of " + date + ", cloud unreachable \u00B7 Cat\u00E1logo de " + date +
           ", nuvem inacess\u00EDvel";
}

std::string NothingKeptStatusText() {
    return "Cloud unreachable, no catalogue kept \u00B7 Nuvem inacess\u00EDvel, nenhum cat\u00E1logo "
           "guardado";
}

std::string UnreachableKeptText(const std::string &Host, const std::string &Reason, std::time_t ReadAt) {
    const std::string when = DateText(ReadAt) + " " + TimeText(ReadAt);
    return "The cloud could not be reached at " + Host + ": " + Reason +
           ".\nShown is the catalogue read on " + when +
           ", with the favourites and the last station of that time; what you change now is not saved "
           "in the cloud. Check the network connection; to try the cloud again, " +
           kTryAgainEnglish + "\n\nN\u00E3o foi poss\u00EDvel acessar a nuvem em " + Host +
           ".\nEste \u00E9 o cat\u00E1logo lido em " + when +
           ", com os favoritos e a \u00FAltima esta\u00E7\u00E3o daquele momento; o que mudar agora n\u00E3o "
           "\u00E9 gravado na nuvem. Verifique a conex\u00E3o de rede; para tentar a nuvem de novo, " +
           kTryAgainPortuguese;
}

std::string UnreachableNothingKeptText(const std::string &Host, const std::string &Reason,
                                       const std::string &Problem) {
    const std::string english =
        Problem.empty() ? "No catalogue has been kept on this computer yet, so there is nothing to show."
                        : "The catalogue kept on this computer was set aside (" + Problem +
                              "), so there is nothing to show.";
    const std::string portuguese = Problem.empty() ? "Ainda n\u00E3o h\u00E1 cat\u00E1logo guardado neste "
                                                     "computador, ent\u00E3o n\u00E3o h\u00E1 nada "
                                                     "para mostrar."
                                                   : "O cat\u00E1logo guardado neste computador foi "
                                                     "descartado, ent\u00E3o n\u00E3o h\u00E1 nada para "
                                                     "mostrar.";
    return "The cloud could not be reached at " + Host + ": " + Reason + ".\n" + english +
           " Check the network connection, then " + kTryAgainEnglish +
           "\n\nN\u00E3o foi poss\u00EDvel acessar a nuvem em " + Host + ".\n" + portuguese +
           " Verifique a conex\u00E3o de rede e depois " + kTryAgainPortuguese;
}

std::string SignInRefusedText(const std::string &Host, const std::string &Reason) {
    return "The cloud at " + Host + " refused the program's sign-in: " + Reason +
           ".\nThe catalogue cannot be read without it. Try again later: " + kTryAgainEnglish +
           " If this keeps happening, a newer version of the program may be needed."
           "\n\nA nuvem em " +
           Host +
           " recusou a entrada do programa.\nSem ela o cat\u00E1logo n\u00E3o pode ser lido. Tente de novo "
           "mais "
           "tarde: " +
           kTryAgainPortuguese + " Se continuar, pode ser preciso uma vers\u00E3o mais nova do programa.";
}

std::string ReadRefusedText(const std::string &Host, const std::string &Path, const std::string &Reason) {
    return "The cloud at " + Host + " could not give " + Path + ": " + Reason +
           ".\nTry again later: " + kTryAgainEnglish +
           " If this keeps happening, tell the catalogue's maintainer." + "\n\nA nuvem em " + Host +
           " n\u00E3o p\u00F4de entregar " + Path + ".\nTente de novo mais tarde: " + kTryAgainPortuguese +
           " Se continuar, avise quem mant\u00E9m o cat\u00E1logo.";
}

} // namespace Tunewell
