#include "app/core/WindowCloudProfileID.h"

#include "profile/core/Registro.h"

namespace Tunewell {

std::string ReadProfileID() {
    return LerRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado")).toStdString();
}

} // namespace Tunewell
