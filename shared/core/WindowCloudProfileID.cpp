#include "shared/core/WindowCloudProfileID.h"

#include "shared/core/Registro.h"

namespace Tunewell {

std::string ReadProfileID() {
    return LerRegistro(QStringLiteral("Firebase"), QString(), QStringLiteral("Registrado")).toStdString();
}

} // namespace Tunewell
