#include "app/core/CloudFailureText.h"

#include "shared/core/TimeText.h"

namespace Tunewell {

namespace {
// The client's reason ends a sentence of ours; some reasons (a service's own words) already do.
std::string Ended(const std::string &Reason) {
    if (!Reason.empty() && (Reason.back() == '.' || Reason.back() == '!' || Reason.back() == '?'))
        return Reason;
    return Reason + ".";
}

// An unreachable cloud is tried again by the program; a refusal only by a new start.
const std::string kRetriedEnglish = "the program tries the cloud again by itself.";
const std::string kRetriedPortuguese = "o programa tenta a nuvem de novo sozinho.";
const std::string kStartAgainEnglish = "start the program again.";
const std::string kStartAgainPortuguese = "inicie o programa de novo.";

// What the user is told first and what to check, in English and Portuguese: an unreachable cloud,
// or one whose certificate was refused.
struct Unreachable {
    std::string English;
    std::string Portuguese;
    std::string CheckEnglish;
    std::string CheckPortuguese;
};

std::string ProblemEnglish(Cumulo::TCertificateProblem Problem) {
    switch (Problem) {
    case Cumulo::TCertificateProblem::UnknownAuthority:
        return "its certificate is signed by an authority this computer does not trust";
    case Cumulo::TCertificateProblem::WrongHost:
        return "its certificate is made out for another address";
    case Cumulo::TCertificateProblem::Expired:
        return "its certificate has expired or is not valid yet";
    case Cumulo::TCertificateProblem::Refused:
        break;
    }
    return "its certificate was refused";
}

std::string ProblemPortuguese(Cumulo::TCertificateProblem Problem) {
    switch (Problem) {
    case Cumulo::TCertificateProblem::UnknownAuthority:
        return "o certificado dela foi assinado por uma autoridade em que este computador n\u00E3o confia";
    case Cumulo::TCertificateProblem::WrongHost:
        return "o certificado dela foi emitido para outro endere\u00E7o";
    case Cumulo::TCertificateProblem::Expired:
        return "o certificado dela expirou ou ainda n\u00E3o \u00E9 v\u00E1lido";
    case Cumulo::TCertificateProblem::Refused:
        break;
    }
    return "o certificado dela foi recusado";
}

Unreachable UnreachableSentences(const std::string &Host, const std::string &Reason,
                                 const std::optional<Cumulo::TCertificateProblem> &Certificate) {
    if (!Certificate)
        return {"The cloud could not be reached at " + Host + ": " + Ended(Reason),
                "N\u00E3o foi poss\u00EDvel acessar a nuvem em " + Host + ".", "Check the network connection",
                "Verifique a conex\u00E3o de rede"};
    // Nothing was sent: the connection ended at the certificate, before any request.
    return {"The cloud at " + Host + " could not be trusted: " + ProblemEnglish(*Certificate) + " (" +
                Reason + "). Nothing was sent to it.",
            "A nuvem em " + Host + " n\u00E3o \u00E9 confi\u00E1vel: " + ProblemPortuguese(*Certificate) +
                ". Nada foi enviado a ela.",
            "Check this computer's date and time, or ask who runs the cloud",
            "Verifique a data e a hora deste computador, ou fale com quem mant\u00E9m a nuvem"};
}
} // namespace

std::string KeptCatalogueStatusText(std::time_t ReadAt, bool CertificateRefused) {
    const std::string date = DateText(ReadAt);
    if (CertificateRefused)
        return "Catalogue of " + date + ", cloud certificate not trusted \u00B7 Cat\u00E1logo de " + date +
               ", certificado da nuvem n\u00E3o confi\u00E1vel";
    return "Catalogue of " + date + ", cloud unreachable \u00B7 Cat\u00E1logo de " + date +
           ", nuvem inacess\u00EDvel";
}

std::string KeptCatalogueWaitingStatusText(std::time_t ReadAt) {
    const std::string date = DateText(ReadAt);
    return "Catalogue of " + date + ", waiting for the cloud \u00B7 Cat\u00E1logo de " + date +
           ", aguardando a nuvem";
}

std::string KeptCatalogueWaitingText(std::time_t ReadAt) {
    const std::string when = DateText(ReadAt) + " " + TimeText(ReadAt);
    return "Shown is the catalogue read on " + when +
           ", with the favourites and the last station of that time, until the cloud answers; then its "
           "catalogue takes the place of this one.\n\nEste \u00E9 o cat\u00E1logo lido em " +
           when +
           ", com os favoritos e a \u00FAltima esta\u00E7\u00E3o daquele momento, at\u00E9 a nuvem "
           "responder; ent\u00E3o o cat\u00E1logo dela toma o lugar deste.";
}

std::string KeptCatalogueRefusedStatusText(std::time_t ReadAt) {
    const std::string date = DateText(ReadAt);
    return "Catalogue of " + date + ", refused by the cloud \u00B7 Cat\u00E1logo de " + date +
           ", recusado pela nuvem";
}

std::string LocalCloudStartingStatusText() {
    return "Starting the local cloud\u2026 \u00B7 Iniciando a nuvem local\u2026";
}

std::string LocalCloudStartingText() {
    return "This computer's own cloud is being started; the first start prepares its catalogue and may "
           "take a moment.\n\nA nuvem deste computador est\u00E1 sendo iniciada; a primeira vez prepara o "
           "cat\u00E1logo e pode levar um momento.";
}

std::string NothingKeptStatusText(bool CertificateRefused) {
    if (CertificateRefused)
        return "Cloud certificate not trusted, no catalogue kept \u00B7 Certificado da nuvem n\u00E3o "
               "confi\u00E1vel, nenhum cat\u00E1logo guardado";
    return "Cloud unreachable, no catalogue kept \u00B7 Nuvem inacess\u00EDvel, nenhum cat\u00E1logo "
           "guardado";
}

std::string UnreachableKeptText(const std::string &Host, const std::string &Reason, std::time_t ReadAt,
                                const std::optional<Cumulo::TCertificateProblem> &Certificate) {
    const std::string when = DateText(ReadAt) + " " + TimeText(ReadAt);
    const Unreachable said = UnreachableSentences(Host, Reason, Certificate);
    return said.English + "\nShown is the catalogue read on " + when +
           ", with the favourites and the last station of that time; what you change now is not saved "
           "in the cloud. " +
           said.CheckEnglish + "; " + kRetriedEnglish + "\n\n" + said.Portuguese +
           "\nEste \u00E9 o cat\u00E1logo lido em " + when +
           ", com os favoritos e a \u00FAltima esta\u00E7\u00E3o daquele momento; o que mudar agora n\u00E3o "
           "\u00E9 gravado na nuvem. " +
           said.CheckPortuguese + "; " + kRetriedPortuguese;
}

std::string UnreachableNothingKeptText(const std::string &Host, const std::string &Reason,
                                       const std::string &Problem,
                                       const std::optional<Cumulo::TCertificateProblem> &Certificate) {
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
    const Unreachable said = UnreachableSentences(Host, Reason, Certificate);
    return said.English + "\n" + english + " " + said.CheckEnglish + "; " + kRetriedEnglish + "\n\n" +
           said.Portuguese + "\n" + portuguese + " " + said.CheckPortuguese + "; " + kRetriedPortuguese;
}

std::string SignInRefusedText(const std::string &Host, const std::string &Reason) {
    return "The cloud at " + Host + " refused the program's sign-in: " + Ended(Reason) +
           "\nThe catalogue cannot be read without it. Try again later: " + kStartAgainEnglish +
           " If this keeps happening, a newer version of the program may be needed."
           "\n\nA nuvem em " +
           Host +
           " recusou a entrada do programa.\nSem ela o cat\u00E1logo n\u00E3o pode ser lido. Tente de novo "
           "mais "
           "tarde: " +
           kStartAgainPortuguese + " Se continuar, pode ser preciso uma vers\u00E3o mais nova do programa.";
}

std::string ReadRefusedText(const std::string &Host, const std::string &Path, const std::string &Reason) {
    return "The cloud at " + Host + " could not give " + Path + ": " + Ended(Reason) +
           "\nTry again later: " + kStartAgainEnglish +
           " If this keeps happening, tell the catalogue's maintainer." + "\n\nA nuvem em " + Host +
           " n\u00E3o p\u00F4de entregar " + Path + ".\nTente de novo mais tarde: " + kStartAgainPortuguese +
           " Se continuar, avise quem mant\u00E9m o cat\u00E1logo.";
}

} // namespace Tunewell
